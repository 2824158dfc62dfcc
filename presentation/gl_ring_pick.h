#pragma once
// The pick: the element drawn at the centre of the pixel under the pointer. The pixel's centre is
// turned back into the ring plane through the very matrices the ring is drawn with, and the
// element found is the last one in drawing order (the one drawn on top) whose band, as GLRing
// draws it, holds that point. Only elements whose layer and sector can hold it are tested: a
// folder's children tile its sector in list order, so the ones at the point's angle are found by
// bisection.

class QOXRing;
class QRElement;
class QREFolder;

class GLRingPickQuery {
public:
    // Reads the ring transform from the current model-view and projection matrices and the viewport.
    GLRingPickQuery(QOXRing* ring, float x, float y);

    // The element drawn on top at the point, or none.
    QRElement* Find();

private:
    void FindPointInPlane(float x, float y);
    QRElement* Search(QRElement* element);
    QRElement* SearchChildren(const QREFolder* folder);
    bool SectorHolds(const QRElement* element) const;
    bool BandHolds(const QRElement* element) const;

    QOXRing* Ring = nullptr; // not owned
    bool InPlane = false;    // the point lies on the ring plane, in front of the eye and in the view
    double X = 0.0;          // the point in ring space
    double Y = 0.0;
    double Radius = 0.0;
    double Angle = 0.0; // degrees from the top, clockwise, in [0, 360)
};
