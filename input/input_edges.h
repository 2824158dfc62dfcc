#pragma once
// How often an input went down and came up between two polls.
struct QIEdges {
    int Presses = 0;
    int Releases = 0;
};
