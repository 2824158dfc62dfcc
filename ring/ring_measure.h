#pragma once
// A ring measured again when "SizeOnDisk" changes: files that know their sizes read them again as
// apparent bytes or as blocks on the disk, folders take the other counted total (or sum their
// children again when they sum them themselves).
class QOXRing;

void RemeasureRing(QOXRing& ring);
