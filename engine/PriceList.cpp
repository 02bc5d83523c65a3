#include "engine/PriceList.h"

#include "engine/LineMarks.h"
#include "engine/PipeRecord.h"
#include "engine/TextEncoding.h"
#include "engine/TextFile.h"

#include <algorithm>
#include <atomic>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <system_error>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillon {
namespace {

// A slot: the line's offset plus one in the low bits, a few bits of the part
// number's hash above them, so that most probes never read the text. Slots
// are 8 bytes with 40 bits of offset; a text under 64 MB (every price list
// seen) has 4-byte slots, twice as many in the same memory, with at least 6
// bits of hash. A slot's place in the table is the top bits of the hash, so
// that the table's size can wait until every line is hashed.
constexpr int kWideOffsetBits = 40;
constexpr int kNarrowTagBits = 6;

template <class Slot>
struct SlotCodec {
    static constexpr int kBits = 8 * int{sizeof(Slot)};
    int offsetBits;
    int placeShift;  // kBits less the table's size in bits

    // The hash bits a slot is made from: its top kBits.
    static Slot Bits(std::uint64_t hash) { return static_cast<Slot>(hash >> (64 - kBits)); }
    std::uint64_t Place(Slot bits) const { return bits >> placeShift; }
    // The tag: the low bits, apart from the place's top bits in any table
    // the text's offsets leave room for.
    Slot Tag(Slot bits) const { return static_cast<Slot>(bits & ((Slot{1} << (kBits - offsetBits)) - 1)); }
    Slot Make(Slot tag, std::uint64_t offset) const { return static_cast<Slot>((tag << offsetBits) | (offset + 1)); }
    bool HasTag(Slot slot, Slot tag) const { return (slot >> offsetBits) == tag; }
    std::uint64_t Offset(Slot slot) const { return (slot & ((Slot{1} << offsetBits) - 1)) - 1; }
};

bool Skipped(std::string_view line) { return line.empty() || IsSkippedLeadChar(line.front()); }

// IsSkippedLeadChar as a table, for the index's walk over every line.
constexpr auto kSkippedLead = [] {
    std::array<bool, 256> skipped{};
    for (const char c : std::string_view(" #;[^`{~")) skipped[static_cast<unsigned char>(c)] = true;
    return skipped;
}();

// Field 3 with blanks removed, empty when its "|" is missing: PipeField(line, 3)
// without the copy.
std::string_view KeyOf(std::string_view line)
{
    const char* const base = line.data();
    const std::size_t n = line.size();
    std::size_t start = 0;
    int pipes = 0;
    std::size_t i = 0;
    // True when the "|" at pos is the third.
    auto bar = [&](std::size_t pos) {
        if (++pipes == 2) start = pos + 1;
        return pipes == 3;
    };
#if defined(__SSE2__)
    const __m128i pipe = _mm_set1_epi8('|');
    for (; i + 16 <= n; i += 16) {
        auto bars = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(base + i)), pipe)));
        for (; bars != 0; bars &= bars - 1) {
            const std::size_t pos = i + static_cast<std::size_t>(__builtin_ctz(bars));
            if (bar(pos)) return TrimBlanks(std::string_view(base + start, pos - start));
        }
    }
#endif
    for (; i < n; ++i)
        if (base[i] == '|' && bar(i)) return TrimBlanks(std::string_view(base + start, i - start));
    return {};
}

// The part number blanks-trimmed as TrimBlanks trims it, without the call
// for the usual part number that has no blank at either end.
std::string_view Trimmed(const char* begin, const char* end)
{
    if (begin != end && static_cast<unsigned char>(*begin) > ' ' && static_cast<unsigned char>(end[-1]) > ' ')
        return {begin, static_cast<std::size_t>(end - begin)};
    return TrimBlanks(std::string_view(begin, static_cast<std::size_t>(end - begin)));
}

// What one walk over a line finds: its part number (KeyOf) and where the
// line ends (FindLineEnd), the bytes looked at once for both.
struct LineScan {
    std::string_view key;
    const char* lineEnd;
};

// Any line, however long and wherever it stands: its part number, and with
// wantEnd its end (else lineEnd is left unset once the part number is
// known). Stops at the first CR or LF, as ForEachLine ends a line.
template <bool wantEnd>
LineScan ScanLongLine(const char* const p, const char* const end)
{
    const char* keyStart = p;  // just past the second "|"
    int pipes = 0;
    const char* q = p;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i pipe = _mm_set1_epi8('|');
    for (; end - q >= 16; q += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
        const auto ends = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf))));
        auto bars = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, pipe)));
        if (ends != 0) bars &= (ends & (0u - ends)) - 1;  // only the bars before the line's end
        for (; bars != 0; bars &= bars - 1) {
            const char* const at = q + __builtin_ctz(bars);
            if (++pipes == 2) {
                keyStart = at + 1;
            } else if (pipes == 3) {
                const std::string_view key = Trimmed(keyStart, at);
                if constexpr (!wantEnd) return {key, nullptr};
                // The line's end lies after its third bar, in this block or beyond.
                return {key, ends != 0 ? q + __builtin_ctz(ends) : FindLineEnd(q + 16, end)};
            }
        }
        if (ends != 0) return {{}, q + __builtin_ctz(ends)};
    }
#endif
    for (; q < end; ++q) {
        const char c = *q;
        if (c == '\r' || c == '\n') return {{}, q};
        if (c != '|') continue;
        if (++pipes == 2) {
            keyStart = q + 1;
        } else if (pipes == 3) {
            const std::string_view key = Trimmed(keyStart, q);
            if constexpr (!wantEnd) return {key, nullptr};
            return {key, FindLineEnd(q + 1, end)};
        }
    }
    return {{}, end};
}

// The line starting at p, its part number and its end. A line of a price
// list is shorter than 64 bytes and that far from the text's end: its bytes
// are looked at in one go, and its part number picked from their bars with
// no branch that depends on where they fall.
[[gnu::always_inline]] inline LineScan ScanLine(const char* const p, const char* const end)
{
#if defined(__SSE2__)
    if (end - p >= 64) {
        const __m128i cr = _mm_set1_epi8('\r');
        const __m128i lf = _mm_set1_epi8('\n');
        const __m128i pipe = _mm_set1_epi8('|');
        // The four blocks written out: a loop of them is not unrolled at -O2.
        auto lineEnds = [&](__m128i block) {
            return std::uint64_t{static_cast<unsigned>(
                _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf))))};
        };
        auto pipes = [&](__m128i block) {
            return std::uint64_t{static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, pipe)))};
        };
        const __m128i b0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i b1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
        const __m128i b2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32));
        const __m128i b3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 48));
        const std::uint64_t ends = lineEnds(b0) | lineEnds(b1) << 16 | lineEnds(b2) << 32 | lineEnds(b3) << 48;
        std::uint64_t bars = pipes(b0) | pipes(b1) << 16 | pipes(b2) << 32 | pipes(b3) << 48;
        if (ends != 0) {
            bars &= (ends & (0 - ends)) - 1;  // only the bars before the line's end
            const std::uint64_t fromSecond = bars & (bars - 1);
            const std::uint64_t fromThird = fromSecond & (fromSecond - 1);
            const char* const lineEnd = p + __builtin_ctzll(ends);
            if (fromThird == 0) return {{}, lineEnd};  // fewer than three bars: field 3 is missing
            return {Trimmed(p + __builtin_ctzll(fromSecond) + 1, p + __builtin_ctzll(fromThird)), lineEnd};
        }
    }
#endif
    return ScanLongLine<true>(p, end);
}

// The part number of the line starting at p.
std::string_view KeyAt(const char* const p, const char* const end)
{
#if defined(__SSE2__)
    if (end - p >= 64) return ScanLine(p, end).key;
#endif
    return ScanLongLine<false>(p, end).key;
}

// The index's walk over every line, a stretch of text ahead at a time
// (engine/LineMarks.h): each line's part number is picked from the marks of
// line ends and bars by shifts.

// At least 57 bits of marks from bit `at` on (the bits past them zero):
// one load from the byte holding bit `at`, shifted. A line longer than that
// has its part number near its start all the same.
[[gnu::always_inline]] inline std::uint64_t MarksFrom(const std::uint64_t* marks, std::size_t at)
{
    if constexpr (std::endian::native == std::endian::little) {
        std::uint64_t bits;
        std::memcpy(&bits, reinterpret_cast<const char*>(marks) + at / 8, 8);
        return bits >> (at % 8);
    } else {
        const unsigned bit = at % 64;
        return (marks[at / 64] >> bit) | ((marks[at / 64 + 1] << 1) << (63 - bit));
    }
}

std::uint64_t Load64(const char* p)
{
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

std::uint64_t Load32(const char* p)
{
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

// The 128-bit product folded to 64 bits: one multiply mixes every input bit
// into the whole result.
__extension__ typedef unsigned __int128 Wide;

std::uint64_t Mix(std::uint64_t a, std::uint64_t b)
{
    const Wide product = static_cast<Wide>(a) * b;
    return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
}

// Part numbers run to some ten bytes: those up to 16 bytes are read in two
// (overlapping) loads and hashed with two multiplies.
[[gnu::always_inline]] inline std::uint64_t HashKey(std::string_view key)
{
    constexpr std::uint64_t k0 = 0x9E3779B97F4A7C15ull, k1 = 0xBF58476D1CE4E5B9ull, k2 = 0x94D049BB133111EBull;
    const char* p = key.data();
    std::size_t n = key.size();
    std::uint64_t a = 0, b = 0, seed = k0 ^ n;
    if (n > 16) {
        for (; n > 16; p += 16, n -= 16) seed = Mix(Load64(p) ^ k1, Load64(p + 8) ^ seed);
        a = Load64(p + n - 16);
        b = Load64(p + n - 8);
    } else if (n >= 8) {
        a = Load64(p);
        b = Load64(p + n - 8);
    } else if (n >= 4) {
        a = Load32(p);
        b = Load32(p + n - 4);
    } else if (n > 0) {
        a = (std::uint64_t{static_cast<unsigned char>(p[0])} << 16) |
            (std::uint64_t{static_cast<unsigned char>(p[n / 2])} << 8) | static_cast<unsigned char>(p[n - 1]);
    }
    return Mix(Mix(a ^ k1, b ^ seed), k2);
}

// The index's notes of the lines: where each starts and its part number's
// hash bits (SlotCodec::Bits), in one list for each part of the table, by
// the part its place lies in (the hash bits' top bits), in the lines' order
// within each. Each part of the table is then filled from its own list,
// within a stretch of slots small enough to stay in the processor's cache.
template <class Slot>
class LineNotes {
public:
    struct Note {
        Slot offset;
        Slot bits;
    };
    static constexpr int kPartBits = IndexFillShare::kPartBits;
    static constexpr int kParts = IndexFillShare::kParts;
    // The part of the table a line's place lies in.
    static std::size_t PartOf(Slot bits) { return bits >> (SlotCodec<Slot>::kBits - kPartBits); }

    explicit LineNotes(std::size_t expected)
    {
        for (Part& part : parts_) part.Reserve(expected / kParts + expected / (4 * kParts) + 64);
    }

    // Where each part's next notes go, in `ends`, each with room for at
    // least `most` of them; returns the least room any part has.
    std::size_t Room(std::size_t most, Note** ends)
    {
        std::size_t least = std::numeric_limits<std::size_t>::max();
        for (int i = 0; i < kParts; ++i) {
            Part& part = parts_[i];
            if (ends[i] != nullptr) part.count = static_cast<std::size_t>(ends[i] - part.data.get());
            if (part.capacity - part.count < most) part.Reserve(std::max(2 * part.capacity, part.count + most));
            ends[i] = part.data.get() + part.count;
            least = std::min(least, part.capacity - part.count);
        }
        return least;
    }
    // No notes, the room kept.
    void Clear()
    {
        for (Part& part : parts_) part.count = 0;
    }
    // The notes written end where `ends` are.
    void Took(Note* const* ends)
    {
        for (int i = 0; i < kParts; ++i) parts_[i].count = static_cast<std::size_t>(ends[i] - parts_[i].data.get());
    }

    const Note* data(int part) const { return parts_[part].data.get(); }
    std::size_t size(int part) const { return parts_[part].count; }
    std::size_t size() const
    {
        std::size_t n = 0;
        for (const Part& part : parts_) n += part.count;
        return n;
    }

private:
    struct Part {
        std::unique_ptr<Note[]> data;
        std::size_t count = 0;
        std::size_t capacity = 0;

        void Reserve(std::size_t wanted)
        {
            auto grown = std::make_unique_for_overwrite<Note[]>(wanted);
            if (count != 0) std::memcpy(grown.get(), data.get(), count * sizeof(Note));
            data = std::move(grown);
            capacity = wanted;
        }
    };
    Part parts_[kParts];
};

// One piece of the text's notes, kept in one block of just their size: the
// walk's lists, which grow as they must, are copied here so that the next
// piece can reuse them.
template <class Slot>
class PieceNotes {
public:
    using Note = typename LineNotes<Slot>::Note;
    static constexpr int kParts = LineNotes<Slot>::kParts;

    explicit PieceNotes(const LineNotes<Slot>& notes) : data_(std::make_unique_for_overwrite<Note[]>(notes.size()))
    {
        starts_[0] = 0;
        for (int part = 0; part < kParts; ++part) {
            std::memcpy(data_.get() + starts_[part], notes.data(part), notes.size(part) * sizeof(Note));
            starts_[part + 1] = starts_[part] + notes.size(part);
        }
    }
    const Note* data(int part) const { return data_.get() + starts_[part]; }
    std::size_t size(int part) const { return starts_[part + 1] - starts_[part]; }
    std::size_t size() const { return starts_[kParts]; }

private:
    std::unique_ptr<Note[]> data_;
    std::size_t starts_[kParts + 1];
};

#if defined(__SSE2__)
// The index's usual fill: each line into the first empty slot among the
// four from its place, below slot hi, each place fetched a steady distance
// ahead so that the fetches' waits overlap. A line whose four are all taken
// is left, in the lines' order, in `later`; returns how many were. Apart
// from the rest of the fill, with no call in its loop, it holds all its
// values in registers.
[[gnu::noinline]] std::size_t FillWhereFourAllow(std::uint32_t* const table, const SlotCodec<std::uint32_t> codec,
                                                 const LineNotes<std::uint32_t>::Note* const lines, const std::size_t n,
                                                 const std::uint64_t hi,
                                                 const LineNotes<std::uint32_t>::Note** const later)
{
    constexpr std::size_t kAhead = 32;
    std::size_t left = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (i + kAhead < n) {
            // Both ends of the four slots read at once: one in five runs on
            // into the next cache line.
            const std::uint64_t place = codec.Place(lines[i + kAhead].bits);
            __builtin_prefetch(table + place);
            __builtin_prefetch(table + std::min<std::uint64_t>(place + 3, hi - 1));
        }
        const std::uint64_t j = codec.Place(lines[i].bits);
        if (j + 4 <= hi) {
            const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(table + j));
            const auto empty = static_cast<unsigned>(
                _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(four, _mm_setzero_si128()))));
            if (__builtin_expect(empty != 0, 1)) {
                table[j + static_cast<unsigned>(__builtin_ctz(empty))] =
                    codec.Make(codec.Tag(lines[i].bits), lines[i].offset);
                continue;
            }
        }
        later[left++] = lines + i;
    }
    return left;
}
#endif

// The text is walked in about this many pieces: enough that a thread that
// comes to help late still finds some left, few enough that each piece's
// notes of a part stay long.
constexpr std::size_t kWalkPieces = 32;

// Notes each line of the text that is neither empty nor skipped and starts
// in [first, last), in order, in the list of the table's part its place
// lies in, and counts those lines as ForEachLine counts them; `first` is
// the text's start or a stretch's length on from it. With plainOnly, stops
// at the first stretch that holds a byte above 0x7F and returns false.
template <bool plainOnly, class Slot>
bool WalkLines(const char* const base, const char* const first, const char* const last, const char* const end,
               std::size_t& lines, LineNotes<Slot>& notes)
{
    using Note = typename LineNotes<Slot>::Note;
    StretchMarks marks;
    // A line starts at the text's start, and after LF, or CR not followed
    // by LF: what the walk from the start would hold of the byte before.
    const char before = first == base ? '\n' : first[-1];
    marks.lastEnds = before == '\n' || before == '\r' ? std::uint64_t{1} << 63 : 0;
    marks.lastCr = before == '\r' ? std::uint64_t{1} << 63 : 0;
    lines = 0;
    Note* ends[LineNotes<Slot>::kParts] = {};
    // Every part has room for this many more notes: a stretch adds at most
    // its count of lines to any one of them.
    std::size_t room = notes.Room(0, ends);
    for (const char* from = first; from < last; from += kStretch) {
        MarkStretch(marks, from, end);
        if (plainOnly && marks.high != 0) return false;
        lines += marks.startCount;
        if (room < marks.startCount) room = notes.Room(marks.startCount, ends);
        room -= marks.startCount;
        // Held apart from the marks, which the notes' writes might otherwise
        // be taken to change, so that they stay in registers.
        const std::size_t count = marks.startCount;
        const auto fromBase = static_cast<std::size_t>(from - base);
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t at = marks.starts[i];
            const char* const p = from + at;
            const std::uint64_t lineEnds = MarksFrom(marks.ends, at);
            if (((lineEnds & 1) | kSkippedLead[static_cast<unsigned char>(*p)]) != 0) continue;
            // The bars before the line's end, all 64 when it ends further on.
            const std::uint64_t bars = MarksFrom(marks.bars, at) & ((lineEnds & (0 - lineEnds)) - 1);
            const std::uint64_t fromSecond = bars & (bars - 1);
            const std::uint64_t fromThird = fromSecond & (fromSecond - 1);
            std::string_view key;
            if (fromThird != 0)
                key = Trimmed(p + static_cast<unsigned>(__builtin_ctzll(fromSecond)) + 1,
                              p + static_cast<unsigned>(__builtin_ctzll(fromThird)));
            else if (lineEnds == 0)  // a line longer than the marks read, its third bar further on
                key = ScanLongLine<false>(p, end).key;
            // else fewer than three bars: field 3 is missing
            const Slot bits = SlotCodec<Slot>::Bits(HashKey(key));
            *ends[LineNotes<Slot>::PartOf(bits)]++ = Note{static_cast<Slot>(fromBase + at), bits};
        }
    }
    notes.Took(ends);
    return true;
}

// A line's price is held as a 64-bit float: a text beyond that range is no
// price it can hold, so it counts as a price that is not a number (0), like
// any other, rather than turning into an infinity that shows as a price.
long double PriceOrZero(std::string_view text)
{
    const long double price = NumberOrDefault(text, "0");
    return std::fabs(price) <= std::numeric_limits<double>::max() ? price : 0;
}

PriceListEntry EntryOf(std::string_view line)
{
    return PriceListEntry{PipeField(line, 5), PriceOrZero(PipeField(line, 6))};
}

}  // namespace

PriceList::PriceList(LargeBuffer text) : text_(std::move(text)) { BuildIndex(false); }

void IndexFillShare::TakePieces(std::unique_lock<std::mutex>& lock, int taker)
{
    while (piece_ != nullptr && taken_ < pieces_) {
        const int piece = taken_++;
        const std::function<void(int, int)>* const work = piece_;
        lock.unlock();
        (*work)(piece, taker);
        lock.lock();
        ++done_;
        changed_.notify_all();
    }
}

void IndexFillShare::Help()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return closed_ || (piece_ != nullptr && taken_ < pieces_); });
        if (piece_ == nullptr || taken_ >= pieces_) return;
        TakePieces(lock, 1);
    }
}

void IndexFillShare::Share(const std::function<void(int, int)>& piece, int pieces)
{
    std::unique_lock lock(mutex_);
    piece_ = &piece;
    pieces_ = pieces;
    taken_ = 0;
    done_ = 0;
    changed_.notify_all();
    TakePieces(lock, 0);
    changed_.wait(lock, [&] { return done_ == pieces_; });
    piece_ = nullptr;
}

void IndexFillShare::Close()
{
    {
        const std::lock_guard lock(mutex_);
        closed_ = true;
    }
    changed_.notify_all();
}

PriceList PriceList::Read(const std::string& path, std::optional<FileError>& error, IndexFillShare* const share)
{
    // However the read ends, a thread waiting to help stops waiting.
    struct Closing {
        IndexFillShare* share;
        ~Closing()
        {
            if (share != nullptr) share->Close();
        }
    } closing{share};
    TextRead read = ReadFileBytes(path);
    error = std::move(read.Error);
    if (error) return {};
    PriceList list;
    list.text_ = std::move(read.Text);
    // The index's walk looks at every byte: it stops at the first above
    // 0x7F, and the text is then decoded and walked again.
    if (!list.BuildIndex(true, share)) {
        if (!HoldAsProgramText(list.text_)) {
            error = FileError{path, std::make_error_code(std::errc::not_enough_memory).message()};
            return {};
        }
        list.BuildIndex(false, share);
    }
    return list;
}

PriceList::PriceList(const std::vector<std::string>& lines)
{
    std::size_t size = 0;
    for (const std::string& line : lines) size += line.size() + 1;
    text_ = LargeBuffer::Allocate(size);
    char* p = text_.data();
    for (const std::string& line : lines) {
        std::memcpy(p, line.data(), line.size());
        p += line.size();
        *p++ = '\n';
    }
    BuildIndex(false);
}

std::string_view PriceList::LineAt(std::uint64_t offset) const
{
    const char* const start = text_.data() + offset;
    const char* const end = text_.data() + text_.size();
    return {start, static_cast<std::size_t>(FindLineEnd(start, end) - start)};
}

bool PriceList::BuildIndex(const bool plainOnly, IndexFillShare* const share)
{
    const std::string_view text(text_.data(), text_.size());
    lineCount_ = 0;
    slots_ = LargeBuffer();
    mask_ = 0;
    if (text.size() >= (std::uint64_t{1} << kWideOffsetBits) - 1) {
        // Beyond a terabyte the offsets do not fit a slot: lookups scan.
        if (plainOnly && !IsAscii(text)) return false;
        ForEachLine(text, [&](std::string_view) { return ++lineCount_, true; });
        return true;
    }
    int bits = 1;
    while (bits < 32 - kNarrowTagBits && (text.size() >> bits) != 0) ++bits;
    narrow_ = (text.size() >> bits) == 0;
    offsetBits_ = narrow_ ? bits : kWideOffsetBits;
    const Indexed indexed = narrow_ ? IndexWith<std::uint32_t>(plainOnly, share) : IndexWith<std::uint64_t>(plainOnly, share);
    if (indexed != Indexed::Yes) {
        slots_ = LargeBuffer();
        mask_ = 0;
    }
    return indexed != Indexed::NotPlain;
}

template <class Slot>
PriceList::Indexed PriceList::IndexWith(const bool plainOnly, IndexFillShare* const share)
{
    using Codec = SlotCodec<Slot>;
    const char* const base = text_.data();
    const char* const end = base + text_.size();
    // Every line is read and hashed first, its hash noted in the lines'
    // order; the table is filled from those notes afterwards. The walk then
    // never waits for the table, the table is sized for the lines there are,
    // and the fill fetches slots as far ahead as it likes. The text is walked
    // in pieces, each noting its own lines, so that a second thread can take
    // some of them; the pieces' notes, in the pieces' order, are the lines'.
    const std::size_t size = text_.size();
    const std::size_t pieceBytes = std::max(kStretch, (size / kWalkPieces + kStretch - 1) / kStretch * kStretch);
    const auto pieces = static_cast<int>((size + pieceBytes - 1) / pieceBytes);
    std::vector<std::optional<PieceNotes<Slot>>> walks;
    // The lists each of the two threads walks into, reused piece after piece.
    std::optional<LineNotes<Slot>> walking[2];
    std::vector<std::size_t> pieceLines;
    try {
        walks.resize(static_cast<std::size_t>(pieces));
        pieceLines.resize(static_cast<std::size_t>(pieces));
    } catch (const std::bad_alloc&) {
        return ScanOnly(plainOnly);
    }
    std::atomic<bool> notPlain{false}, walkNoMemory{false};
    auto walkPiece = [&](int piece, int taker) {
        const std::size_t at = pieceBytes * static_cast<std::size_t>(piece);
        const char* const first = base + at;
        const char* const last = base + std::min(size, at + pieceBytes);
        // Once a piece holds a byte above 0x7F the text is walked again.
        if (plainOnly && notPlain.load(std::memory_order_relaxed)) return;
        try {
            // Lines of a price list run to some forty bytes or more; a
            // list of shorter lines makes the notes grow.
            if (!walking[taker]) walking[taker].emplace(static_cast<std::size_t>(last - first) / 40 + 16);
            LineNotes<Slot>& notes = *walking[taker];
            notes.Clear();
            std::size_t& lines = pieceLines[static_cast<std::size_t>(piece)];
            const bool walked = plainOnly ? WalkLines<true>(base, first, last, end, lines, notes)
                                          : WalkLines<false>(base, first, last, end, lines, notes);
            if (!walked) {
                notPlain = true;
                return;
            }
            walks[static_cast<std::size_t>(piece)].emplace(notes);
        } catch (const std::bad_alloc&) {
            walkNoMemory = true;
        }
    };
    if (share != nullptr)
        share->Share(std::function<void(int, int)>(walkPiece), pieces);
    else
        for (int piece = 0; piece < pieces; ++piece) walkPiece(piece, 0);
    walking[0].reset();
    walking[1].reset();
    if (notPlain) return Indexed::NotPlain;
    if (walkNoMemory) return ScanOnly(plainOnly);
    lineCount_ = 0;
    for (const std::size_t lines : pieceLines) lineCount_ += lines;

    // At most 60% of the slots used, so that a probe soon meets an empty one.
    int placeBits = LineNotes<Slot>::kPartBits;
    std::size_t noted = 0;
    for (const auto& notes : walks) noted += notes->size();
    while ((std::size_t{1} << placeBits) * 3 < noted * 5) ++placeBits;
    const std::size_t count = std::size_t{1} << placeBits;
    const Codec codec{offsetBits_, Codec::kBits - placeBits};
    // From the heap where it can, cleared below: memory the program has had
    // before costs less than fresh pages the system must clear and map.
    slots_ = LargeBuffer::Allocate(count * sizeof(Slot));
    if (slots_.empty()) return Indexed::NoMemory;
    mask_ = count - 1;
    placeShift_ = codec.placeShift;
    Slot* const table = reinterpret_cast<Slot*>(slots_.data());

    // Lines are filled in in their order, each into the first empty slot
    // from its place on, so a later line of a part number stands after the
    // first one's slot on every probe that reaches it: lookups stop at the
    // first line whose part number agrees and find the first line, as the
    // scan does. (The lines of one part number have one place, so they are
    // in one part's notes, in their order.) A later line is left out of the
    // table only when its probe runs long, so that many lines of one part
    // number never make a run of slots that every later one walks; the
    // usual line is filled in without comparing part numbers.
    using Line = typename LineNotes<Slot>::Note;
    // A line filled in within slots [j, hi); false when none of them is empty.
    // (With 4-byte slots the usual line has been filled in before, by
    // FillWhereFourAllow: what comes here are the rest and the run-ons.)
    auto fillWithin = [&](const Line& line, std::uint64_t j, const std::uint64_t hi) __attribute__((always_inline)) {
        const Slot tag = codec.Tag(line.bits);
        // A short run of taken slots is passed without reading part numbers:
        // a later line of a part number filled in after the first is never
        // found by a lookup, which stops at the first.
        for (std::uint64_t k = j; k < std::min<std::uint64_t>(j + 16, hi); ++k) {
            if (table[k] == 0) {
                table[k] = codec.Make(tag, line.offset);
                return true;
            }
        }
        for (; j < hi; ++j) {
            const Slot slot = table[j];
            if (slot == 0) {
                table[j] = codec.Make(tag, line.offset);
                return true;
            }
            if (codec.HasTag(slot, tag) && KeyAt(base + codec.Offset(slot), end) == KeyAt(base + line.offset, end))
                return true;
        }
        return false;
    };
    // Fills a part's lines in below slot hi, each slot fetched a steady
    // distance ahead of its fill so that the fetches' waits overlap; calls
    // runOn(line) for each line whose probe runs past hi.
    auto fillPart = [&](int part, std::uint64_t hi, auto&& runOn) __attribute__((always_inline)) {
#if defined(__SSE2__)
        if constexpr (sizeof(Slot) == 4) {
            // The usual lines first; those that find their four slots taken
            // after, in their order. Those of one part number have one
            // place, so none of them is filled in before an earlier one.
            std::size_t noted = 0;
            for (const auto& notes : walks) noted += notes->size(part);
            const auto later = std::make_unique_for_overwrite<const Line*[]>(noted);
            std::size_t left = 0;
            for (const auto& notes : walks)
                left += FillWhereFourAllow(table, codec, notes->data(part), notes->size(part), hi, later.get() + left);
            for (std::size_t k = 0; k < left; ++k)
                if (!fillWithin(*later[k], codec.Place(later[k]->bits), hi)) runOn(*later[k]);
            return;
        }
#endif
        constexpr std::size_t kAhead = 32;
        for (const auto& notes : walks) {
            const Line* const lines = notes->data(part);
            const std::size_t n = notes->size(part);
            for (std::size_t i = 0; i < n; ++i) {
                if (i + kAhead < n) {
                    const std::uint64_t place = codec.Place(lines[i + kAhead].bits);
                    __builtin_prefetch(table + place);
                    __builtin_prefetch(table + std::min<std::uint64_t>(place + 3, hi - 1));
                }
                if (!fillWithin(lines[i], codec.Place(lines[i].bits), hi)) runOn(lines[i]);
            }
        }
    };
    // A probe runs on from the table's end to its start; the table is never full.
    auto fillFromStart = [&](const Line& line) { fillWithin(line, 0, count); };
    // Each part of the table is cleared and filled from the lines whose
    // place lies in it, while it stays in the processor's cache, and by one
    // thread alone when a second one shares the work. A line whose probe
    // would run on past its part's end is filled in afterwards, in the
    // lines' order, as a fill of the whole table at once would have.
    constexpr int kParts = LineNotes<Slot>::kParts;
    const std::uint64_t partSlots = count / kParts;
    std::vector<Line> runOn[kParts];
    bool noMemory[kParts] = {};
    auto fillShared = [&](int part) {
        const std::uint64_t lo = partSlots * static_cast<std::uint64_t>(part);
        const std::uint64_t hi = lo + partSlots;
        std::memset(table + lo, 0, partSlots * sizeof(Slot));
        try {
            fillPart(part, hi, [&](const Line& line) { runOn[part].push_back(line); });
        } catch (const std::bad_alloc&) {
            noMemory[part] = true;
        }
    };
    if (share != nullptr)
        share->Share(std::function<void(int, int)>([&](int part, int) { fillShared(part); }), kParts);
    else
        for (int part = 0; part < kParts; ++part) fillShared(part);
    for (int part = 0; part < kParts; ++part) {
        if (noMemory[part]) return Indexed::NoMemory;
        for (const Line& line : runOn[part])
            if (!fillWithin(line, codec.Place(line.bits), count)) fillFromStart(line);
    }
    return Indexed::Yes;
}

PriceList::Indexed PriceList::ScanOnly(const bool plainOnly)
{
    // Without the memory for an index, lookups scan.
    const std::string_view text(text_.data(), text_.size());
    if (plainOnly && !IsAscii(text)) return Indexed::NotPlain;
    lineCount_ = 0;
    ForEachLine(text, [&](std::string_view) { return ++lineCount_, true; });
    return Indexed::NoMemory;
}

std::optional<PriceListEntry> PriceList::FindLinear(std::string_view partNumber) const
{
    std::optional<PriceListEntry> found;
    ForEachLine(std::string_view(text_.data(), text_.size()), [&](std::string_view line) {
        if (Skipped(line) || KeyOf(line) != partNumber) return true;
        found = EntryOf(line);
        return false;
    });
    return found;
}

std::optional<PriceListEntry> PriceList::Find(std::string_view partNumber) const
{
    if (slots_.empty()) return FindLinear(partNumber);
    Lookup lookup;
    lookup.hash_ = HashKey(partNumber);
    return Find(partNumber, lookup);
}

PriceList::Lookup PriceList::Begin(std::string_view partNumber) const
{
    Lookup lookup;
    if (slots_.empty()) return lookup;
    lookup.hash_ = HashKey(partNumber);
    __builtin_prefetch(slots_.data() + (narrow_ ? SlotCodec<std::uint32_t>{offsetBits_, placeShift_}.Place(SlotCodec<std::uint32_t>::Bits(lookup.hash_)) * 4
                                               : SlotCodec<std::uint64_t>{offsetBits_, placeShift_}.Place(SlotCodec<std::uint64_t>::Bits(lookup.hash_)) * 8));
    return lookup;
}

template <class Slot>
const char* PriceList::LineOfSlot(std::uint64_t hash) const
{
    const SlotCodec<Slot> codec{offsetBits_, placeShift_};
    const Slot bits = codec.Bits(hash);
    const Slot slot = reinterpret_cast<const Slot*>(slots_.data())[codec.Place(bits)];
    return slot != 0 && codec.HasTag(slot, codec.Tag(bits)) ? text_.data() + codec.Offset(slot) : nullptr;
}

void PriceList::Advance(const Lookup& lookup) const
{
    if (slots_.empty()) return;
    const char* const line = narrow_ ? LineOfSlot<std::uint32_t>(lookup.hash_) : LineOfSlot<std::uint64_t>(lookup.hash_);
    if (line != nullptr) __builtin_prefetch(line);
}

template <class Slot>
std::optional<PriceListEntry> PriceList::FindWith(std::string_view partNumber, std::uint64_t hash) const
{
    const SlotCodec<Slot> codec{offsetBits_, placeShift_};
    const Slot bits = codec.Bits(hash);
    const Slot tag = codec.Tag(bits);
    const auto* const slots = reinterpret_cast<const Slot*>(slots_.data());
    const char* const end = text_.data() + text_.size();
    for (std::uint64_t j = codec.Place(bits);; j = (j + 1) & mask_) {
        const Slot slot = slots[j];
        if (slot == 0) return std::nullopt;
        if (!codec.HasTag(slot, tag)) continue;
        const std::uint64_t offset = codec.Offset(slot);
        if (KeyAt(text_.data() + offset, end) == partNumber) return EntryOf(LineAt(offset));
    }
}

std::optional<PriceListEntry> PriceList::Find(std::string_view partNumber, const Lookup& lookup) const
{
    if (slots_.empty()) return FindLinear(partNumber);
    return narrow_ ? FindWith<std::uint32_t>(partNumber, lookup.hash_) : FindWith<std::uint64_t>(partNumber, lookup.hash_);
}

}  // namespace quillon
