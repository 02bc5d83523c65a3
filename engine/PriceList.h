#pragma once
// The price list "M_lom.dat": descriptions and US-dollar list prices by part number.
//
// The list is held as the file's text, in one block, and searched on demand;
// an index built with it answers a lookup without scanning. The index holds
// a slot of 4 or 8 bytes for each line, and as many again spare: where a
// line starts and a few bits of its part number's hash.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/LargeMemory.h"
#include "engine/TextFile.h"

namespace quillon {

struct PriceListEntry {
    std::string Description;
    long double Price = 0;  // US dollars
};

// The building of a price list's index, shared with a second thread that
// has nothing else to do: the data-set loader's catalogue thread, once its
// catalogue is built, takes pieces of the walk over the list's lines and of
// the table's fill while the price list's own thread takes the rest.
class IndexFillShare {
public:
    // The table is filled in parts small enough to stay in the processor's
    // cache, each by one thread.
    static constexpr int kPartBits = 4;
    static constexpr int kParts = 1 << kPartBits;
    // Takes pieces of the work the price list's thread offers, as long as
    // there are any; returns once the index is built or there is none.
    void Help();

private:
    friend class PriceList;
    // The price list's thread: offers `pieces` pieces of one step, takes
    // those not taken, and returns once every piece is done. A piece is
    // called with its number and its taker's: 0 for the price list's
    // thread, 1 for the helper.
    void Share(const std::function<void(int, int)>& piece, int pieces);
    // Nothing more to share: a helper still waiting returns.
    void Close();
    void TakePieces(std::unique_lock<std::mutex>& lock, int taker);

    std::mutex mutex_;
    std::condition_variable changed_;
    const std::function<void(int, int)>* piece_ = nullptr;
    bool closed_ = false;
    int pieces_ = 0;
    int taken_ = 0;
    int done_ = 0;
};

class PriceList {
public:
    PriceList() = default;
    // The file's text as read.
    explicit PriceList(LargeBuffer text);
    // Lines as read (without their line ends).
    explicit PriceList(const std::vector<std::string>& lines);
    // The file read and indexed: the text as ReadTextFile gives it, its
    // check for plain ASCII made by the index's walk over every byte
    // instead of a pass of its own. An unreadable file gives no list and
    // the error. `share`, when given, lets another thread build part of the
    // index.
    static PriceList Read(const std::string& path, std::optional<FileError>& error, IndexFillShare* share = nullptr);

    std::size_t LineCount() const { return lineCount_; }
    // The list's text, its lines walked with ForEachLine.
    std::string_view Text() const { return {text_.data(), text_.size()}; }
    bool empty() const { return lineCount_ == 0; }

    // First non-skipped line whose field 3 equals the part number exactly.
    // Answers from the index; always equal to FindLinear.
    std::optional<PriceListEntry> Find(std::string_view partNumber) const;
    // The literal scan from the first line.
    std::optional<PriceListEntry> FindLinear(std::string_view partNumber) const;

    // A lookup begun ahead of its answer, for callers that look up many part
    // numbers in a row: begun a few part numbers ahead, the lookups' waits
    // for memory overlap instead of following one another.
    class Lookup {
        std::uint64_t hash_ = 0;
        friend class PriceList;
    };
    // Fetches the part number's place in the index.
    Lookup Begin(std::string_view partNumber) const;
    // Fetches the line that place points at; best a few lookups after Begin.
    void Advance(const Lookup& lookup) const;
    // As Find(partNumber); the lookup must be Begin(partNumber)'s.
    std::optional<PriceListEntry> Find(std::string_view partNumber, const Lookup& lookup) const;

private:
    // With plainOnly, stops and returns false at a byte above 0x7F: the
    // text read unchecked still has to be decoded.
    bool BuildIndex(bool plainOnly, IndexFillShare* share = nullptr);
    enum class Indexed { Yes, NoMemory, NotPlain };
    // The index in slots of this width.
    template <class Slot>
    Indexed IndexWith(bool plainOnly, IndexFillShare* share);
    // No index: the lines counted, lookups left to scan.
    Indexed ScanOnly(bool plainOnly);
    template <class Slot>
    std::optional<PriceListEntry> FindWith(std::string_view partNumber, std::uint64_t hash) const;
    // The line the part number's own slot points at, when its hash bits agree.
    template <class Slot>
    const char* LineOfSlot(std::uint64_t hash) const;
    std::string_view LineAt(std::uint64_t offset) const;

    LargeBuffer text_;
    std::size_t lineCount_ = 0;
    LargeBuffer slots_;  // open addressing; 0 is an empty slot
    std::uint64_t mask_ = 0;
    int placeShift_ = 0;
    bool narrow_ = false;  // 4-byte slots
    int offsetBits_ = 0;
};

}  // namespace quillon
