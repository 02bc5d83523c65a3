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
    // Reads a band-edge field as ReadDouble does and keeps the value, which
    // it returns; a bad text raises the same error and adds nothing.
    double Read(std::string_view text);

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
    // Sixteen bytes: the value, and the digits of the plain decimal it was
    // read from (nearly every band edge is one), from which its text in the
    // general format is written without formatting the value.
    struct Edge {
        double value;
        std::uint64_t decimal;  // kPlain and the decimal's parts, or 0 when the value is to be formatted
    };
    std::vector<Edge> edges_;  // in the order read
};

}  // namespace quillon
