#pragma once
// The pick worked out from the ring's geometry: the same 1 x 1 pixel region, projection and bands
// the selection pass uses, tested in clip space without drawing. The window region is turned back
// into the ring plane once, so that only elements whose layer and sector can reach it are tested,
// and a folder's children, which share its sector in list order, are found by bisection.
#include <array>

class QOXRing;
class QRElement;
class QREFolder;

class GLRingPickQuery {
public:
    // Reads the ring transform from the current model-view matrix and the viewport.
    GLRingPickQuery(QOXRing* ring, float x, float y, float nearDistance, float farDistance);

    // The first element in drawing order whose pick band reaches the region, or none.
    QRElement* Find();

private:
    struct AngleRange {
        double Low = 0.0;
        double High = 0.0;
    };

    void BuildMatrix(float x, float y, float nearDistance, float farDistance);
    void FindRegionInPlane();
    QRElement* Search(QRElement* element);
    QRElement* SearchChildren(const QREFolder* folder);
    QRElement* SearchRun(const QREFolder* folder, const AngleRange& range, int& next);
    bool SectorMayReach(double start, double end) const;
    bool BandMayReach(const QRElement* element) const;
    bool BandHits(const QRElement* element) const;
    bool QuadHits(const std::array<double, 4>* corners) const;

    QOXRing* Ring = nullptr; // not owned
    std::array<double, 16> Matrix{}; // pick region x perspective x ring transform, column-major
    bool Shrunk = false;     // the ring is scaled to nothing
    bool Bounded = false;    // the region's place in the ring plane is known
    bool FullCircle = false; // the region holds the centre: every angle
    double NearestRadius = 0.0;
    double FarthestRadius = 0.0;
    std::array<AngleRange, 2> Ranges{}; // ascending; the second is the first a turn later
};
