#pragma once
// The band edges of a catalogue as its lines are read, and from them the
// distinct values in the general format that the query page offers.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class BandEdgeList {
public:
    // A value and the field it was read from.
    void Add(double value, std::string_view text);

    // The distinct general-format texts in ascending numeric order; the
    // list is empty afterwards (its memory goes back at once: a large
    // catalogue's edges run to megabytes).
    std::vector<std::string> TakeInNumericOrder();
    // Each value in the order read.
    template <class Visit>
    void ForEachValue(Visit&& visit) const
    {
        for (const Edge& edge : edges_) visit(edge.value);
    }

private:
    // Sixteen bytes: twice a bare value, but most band edges are written
    // in seven characters or fewer.
    struct Edge {
        double value;
        std::uint8_t size;  // of the text kept; 0 when the value is to be formatted
        char text[7];
    };
    std::vector<Edge> edges_;  // in the order read
};

}  // namespace quillon
