#include "engine/Catalogue.h"

#include "engine/BandEdgeList.h"
#include "engine/Errors.h"
#include "engine/NumberText.h"
#include "engine/PipeRecord.h"
#include "engine/RowFields.h"
#include "engine/TextFile.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <set>
#include <string>

namespace quillon {
namespace {

// Case-insensitive text order of the value lists.
struct CaseInsensitiveLess {
    bool operator()(const std::string& a, const std::string& b) const
    {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return static_cast<unsigned char>(UpperAscii(x)) < static_cast<unsigned char>(UpperAscii(y));
        });
    }
};

using SortedTexts = std::set<std::string, CaseInsensitiveLess>;

constexpr std::size_t kRowFields = RowFields::kFields;

// Equal texts, for the short ones a row's fields hold: two overlapping
// loads from each instead of a call (most compares here are of a few bytes,
// and most of them succeed).
inline bool SameBytes(const char* x, const char* y, std::size_t n)
{
    auto load8 = [](const char* p) {
        std::uint64_t v;
        std::memcpy(&v, p, sizeof v);
        return v;
    };
    auto load4 = [](const char* p) {
        std::uint32_t v;
        std::memcpy(&v, p, sizeof v);
        return v;
    };
    if (n >= 8) {
        if (n > 16) return std::memcmp(x, y, n) == 0;
        return ((load8(x) ^ load8(y)) | (load8(x + n - 8) ^ load8(y + n - 8))) == 0;
    }
    if (n >= 4) return ((load4(x) ^ load4(y)) | (load4(x + n - 4) ^ load4(y + n - 4))) == 0;
    for (std::size_t i = 0; i < n; ++i)
        if (x[i] != y[i]) return false;
    return true;
}

inline bool SameText(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && SameBytes(a.data(), b.data(), a.size());
}

// The same fields of a row of any length, one find at a time.
class LongRowFields {
public:
    explicit LongRowFields(std::string_view row)
    {
        std::size_t start = 0;
        for (std::string_view& field : fields_) {
            const std::size_t bar = row.find('|', start);
            if (bar == std::string_view::npos) break;
            field = row.substr(start, bar - start);
            start = bar + 1;
        }
    }
    std::string_view operator[](std::size_t i) const { return fields_[i]; }

private:
    std::array<std::string_view, kRowFields> fields_{};
};

// TrimBlanks for the common field that starts and ends with no blank, without a call.
inline std::string_view Trimmed(std::string_view text)
{
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    if (!text.empty() && !blank(text.front()) && !blank(text.back())) return text;
    return TrimBlanks(text);
}

// Most rows start with a figure.
inline bool IsBlank(std::string_view row) { return Trimmed(row).empty(); }

// The last text read in one field and its value: the connector figures
// repeat from row to row (the same figures for all of a line's options,
// often for a whole series), and a text once read reads the same again.
class RememberedNumber {
public:
    // The value into `to`, copied as bytes: the floating-point stack's
    // load and store of an extended value cost far more than a plain copy.
    void Read(std::string_view text, long double& to)
    {
        if (text.size() != size_ || !SameBytes(text.data(), text_, size_)) Remember(text);
        std::memcpy(&to, &value_, sizeof to);
    }

private:
    void Remember(std::string_view text)
    {
        const long double value = ReadNumber(text);  // a bad text raises here and is not kept
        value_ = value;
        // A text too long to keep is read again next time.
        if (text.size() <= sizeof text_) {
            std::memcpy(text_, text.data(), text.size());
            size_ = text.size();
        } else {
            size_ = static_cast<std::size_t>(-1);
        }
    }

    long double value_ = 0;
    std::size_t size_ = static_cast<std::size_t>(-1);  // nothing kept yet
    char text_[16] = {};
};

// Names met already, spelt exactly, found by a hash of their bytes: a
// catalogue has a few dozen connector types over tens of thousands of rows,
// and one look here is far cheaper than the case-insensitive set's or a walk
// along the names.
class KnownNames {
public:
    // True when the name was met before; otherwise it is remembered, while there is room.
    bool Known(std::string_view name)
    {
        std::size_t slot = Hash(name);
        for (; slots_[slot].size != kEmpty; slot = (slot + 1) % kSlots)
            if (Holds(slots_[slot], name)) return true;
        if (count_ < kMaxNames) {
            ++count_;
            Slot& s = slots_[slot];
            if (name.size() <= sizeof s.text) {
                s.size = static_cast<std::uint8_t>(name.size());
                if (!name.empty()) std::memcpy(s.text, name.data(), name.size());  // an empty field may have no address
            } else {
                s.size = kLong;
                s.longName = static_cast<std::uint8_t>(longNames_.size());
                longNames_.emplace_back(name);
            }
        }
        return false;
    }

private:
    // Twice the names in slots: a look ends at an empty slot after a step or two.
    static constexpr std::size_t kMaxNames = 64;
    static constexpr std::size_t kSlots = 2 * kMaxNames;
    static constexpr std::uint8_t kEmpty = 0xFF;
    static constexpr std::uint8_t kLong = 0xFE;

    // A name of up to 16 bytes in the slot itself, found without a step
    // through another object; a longer one among longNames_.
    struct Slot {
        std::uint8_t size = kEmpty;  // of the name in text, or kLong, or kEmpty
        std::uint8_t longName = 0;   // its index in longNames_ when kLong
        char text[16] = {};
    };

    bool Holds(const Slot& slot, std::string_view name) const
    {
        if (slot.size == kLong) return SameText(longNames_[slot.longName], name);
        return slot.size == name.size() && SameBytes(slot.text, name.data(), name.size());
    }

    // The length and the first and last bytes, mixed; a slot number.
    static std::size_t Hash(std::string_view name)
    {
        const char* const p = name.data();
        const std::size_t n = name.size();
        std::uint64_t head = 0, tail = 0;
        if (n >= 8) {
            std::memcpy(&head, p, 8);
            std::memcpy(&tail, p + n - 8, 8);
        } else if (n >= 4) {
            std::uint32_t first = 0, last = 0;
            std::memcpy(&first, p, 4);
            std::memcpy(&last, p + n - 4, 4);
            head = first;
            tail = last;
        } else if (n > 0) {
            head = static_cast<unsigned char>(p[0]) | static_cast<unsigned>(static_cast<unsigned char>(p[n / 2])) << 8 |
                   static_cast<unsigned>(static_cast<unsigned char>(p[n - 1])) << 16;
        }
        const std::uint64_t mixed = (head ^ (tail * 0x9E3779B97F4A7C15u) ^ n) * 0xFF51AFD7ED558CCDu;
        static_assert(kSlots == 128);
        return static_cast<std::size_t>(mixed >> 57);  // the top seven bits
    }

    std::array<Slot, kSlots> slots_{};
    std::size_t count_ = 0;  // of the names remembered
    std::vector<std::string> longNames_;
};

// Adds lines and connectors row by row, in file order, header first; keeps
// the band edges and connector names met on the way.
class Builder {
public:
    explicit Builder(Catalogue& catalogue)
        : catalogue_(catalogue),
          initialBegins_(catalogue.BeginFrequencies),
          initialEnds_(catalogue.EndFrequencies),
          connectorNames_(catalogue.ConnectorTypeNames.begin(), catalogue.ConnectorTypeNames.end())
    {
    }

    // lineNumber: 1-based, of the file.
    void Add(std::string_view row, std::size_t lineNumber)
    {
        if (row.size() <= RowFields::kLongestRow) fields_.Split(row);
        AddSplit(row, lineNumber);
    }

    // The line of the text starting at p, read to its end (a CR, an LF or
    // the end of the text), which it returns.
    const char* AddLine(const char* p, const char* end, std::size_t lineNumber)
    {
        const char* const lineEnd = fields_.SplitLine(p, end);
        AddSplit(std::string_view(p, static_cast<std::size_t>(lineEnd - p)), lineNumber);
        return lineEnd;
    }

    // After the last row: the lists in ascending numeric order. A file
    // without a row after its header is an error, and changes nothing.
    void Finish(bool fileHadLines)
    {
        if (!anyRow_) throw LoadError(ListIndexErrorText(0), fileHadLines ? 1 : 0);
        if (initialBegins_.empty() && initialEnds_.empty()) {
            catalogue_.BeginFrequencies = begins_.TakeInNumericOrder();
            catalogue_.EndFrequencies = ends_.TakeInNumericOrder();
        } else {
            PublishInTextOrder();
            SortNumerically(catalogue_.BeginFrequencies);
            SortNumerically(catalogue_.EndFrequencies);
        }
        PublishConnectorNames();
    }

    // After a bad row: the lists as far as they got, in text order.
    void Abandon()
    {
        PublishInTextOrder();
        PublishConnectorNames();
    }

private:
    // The row, in fields_ already when it is not longer than RowFields takes.
    void AddSplit(std::string_view row, std::size_t lineNumber)
    {
        if (!headerSeen_) {  // the first row is the header, whatever it holds
            headerSeen_ = true;
            return;
        }
        // Blank rows (an editor's trailing empty line) carry nothing.
        if (IsBlank(row)) return;
        anyRow_ = true;
        try {
            if (row.size() <= RowFields::kLongestRow) {
                AddFields(fields_);
            } else {
                AddFields(LongRowFields(row));
            }
        } catch (const LoadError&) {
            throw;
        } catch (const QuillonError& e) {
            throw LoadError(e.message(), lineNumber);
        }
    }

    template <class Fields>
    void AddFields(const Fields& fields)
    {
        if (current_ == nullptr || !SameText(Trimmed(fields[3]), current_->PartNumber)) {
            auto line = ParseLineRow(fields);
            line->AddConnector(ParseConnectorRow(fields));
            current_ = line.get();
            catalogue_.AllLines.push_back(std::move(line));
        } else {
            current_->AddConnector(ParseConnectorRow(fields));
        }
    }

    template <class Fields>
    std::unique_ptr<TTransmissionLine> ParseLineRow(const Fields& fields)
    {
        // Each member has its own starting value: no need to clear the whole record first.
        auto line = std::make_unique_for_overwrite<TTransmissionLine>();
        // A line has a few connector options: room for four at once spares
        // the list its growing steps.
        line->Connectors.reserve(4);
        // Each band edge counts as soon as it is read, also when a later field fails.
        line->BeginFrequency = begins_.Read(fields[0]);
        line->EndFrequency = ends_.Read(fields[1]);
        line->CatalogueField3 = fields[2];
        line->PartNumber = fields[3];
        line->Kind = fields[4];
        line->CatalogueField6 = fields[5];
        line->DeratingKey = ReadNumber(fields[6]);
        line->AttenuationA = ReadDouble(fields[7]);
        line->AttenuationB = ReadDouble(fields[8]);
        line->AveragePowerConstant = ReadDouble(fields[9]);
        line->PeakPower = ReadDouble(fields[10]);
        return line;
    }

    template <class Fields>
    std::unique_ptr<TConnector> ParseConnectorRow(const Fields& fields)
    {
        auto connector = std::make_unique_for_overwrite<TConnector>();
        connector->TypeName = fields[11];
        // A spelling differing only in case is not added.
        if (!knownNames_.Known(fields[11])) connectorNames_.insert(connector->TypeName);
        figures_[0].Read(fields[12], connector->Figure1);
        figures_[1].Read(fields[13], connector->Figure2);
        figures_[2].Read(fields[14], connector->Figure3);
        figures_[3].Read(fields[15], connector->Figure4);
        // Slots left unset (clearing them cost more than the rest of the
        // loop): each is written before it is read.
        union Parts {
            Parts() {}
            std::string_view at[kRowFields - 16];
        } parts;
        std::size_t count = 0;
        for (std::size_t i = 16; i < kRowFields; ++i)
            if (const std::string_view part = fields[i]; !part.empty()) parts.at[count++] = part;
        connector->PartNumbers.Assign(parts.at, count);
        connector->PartNumberCount = static_cast<std::int32_t>(count);
        return connector;
    }

    static std::vector<std::string> InTextOrder(const std::vector<std::string>& initial, const BandEdgeList& values)
    {
        SortedTexts texts(initial.begin(), initial.end());
        values.ForEachValue([&](double value) { texts.insert(FormatGeneral(value)); });
        return {texts.begin(), texts.end()};
    }

    void PublishInTextOrder()
    {
        catalogue_.BeginFrequencies = InTextOrder(initialBegins_, begins_);
        catalogue_.EndFrequencies = InTextOrder(initialEnds_, ends_);
    }

    void PublishConnectorNames()
    {
        catalogue_.ConnectorTypeNames.assign(connectorNames_.begin(), connectorNames_.end());
    }

    Catalogue& catalogue_;
    const std::vector<std::string> initialBegins_, initialEnds_;
    BandEdgeList begins_, ends_;
    SortedTexts connectorNames_;
    KnownNames knownNames_;  // those inserted already, spelt exactly
    RowFields fields_;
    std::array<RememberedNumber, 4> figures_;  // the connector's
    TTransmissionLine* current_ = nullptr;
    bool headerSeen_ = false;
    bool anyRow_ = false;
};

// Each line of the text to the builder, as ForEachLine walks them (lines
// end at CR, LF or CR LF; a last line without its end counts), then
// done(where the next line starts).
template <class Done>
void ForEachRow(std::string_view text, Builder& builder, Done&& done)
{
    const char* p = text.data();
    const char* const end = p + text.size();
    std::size_t lineNumber = 0;
    while (p < end) {
        p = builder.AddLine(p, end, ++lineNumber);
        if (p < end) p += (*p == '\r' && p + 1 < end && p[1] == '\n') ? 2 : 1;
        done(p);
    }
}

template <class Rows>
void Build(Rows&& forEachRow, bool fileHadLines, Catalogue& catalogue)
{
    Builder builder(catalogue);
    try {
        forEachRow(builder);
    } catch (...) {
        builder.Abandon();
        throw;
    }
    builder.Finish(fileHadLines);
}

}  // namespace

LineList Catalogue::Lines() const
{
    LineList lines;
    lines.reserve(AllLines.size());
    for (const auto& line : AllLines) lines.push_back(line.get());
    return lines;
}

void BuildCatalogue(const std::vector<std::string>& rows, Catalogue& catalogue)
{
    Build(
        [&](Builder& builder) {
            for (std::size_t i = 0; i < rows.size(); ++i) builder.Add(rows[i], i + 1);
        },
        !rows.empty(), catalogue);
}

void BuildCatalogue(std::string_view text, Catalogue& catalogue)
{
    Build(
        [&](Builder& builder) {
            ForEachRow(text, builder, [](const char*) {});
        },
        !text.empty(), catalogue);
}

void BuildCatalogue(LargeBuffer text, Catalogue& catalogue)
{
    // Handing back a few megabytes at a time keeps the calls rare.
    constexpr std::size_t kReleaseStep = std::size_t{8} << 20;
    const std::string_view all(text.data(), text.size());
    Build(
        [&](Builder& builder) {
            std::size_t releasedTo = 0;
            ForEachRow(all, builder, [&](const char* next) {
                // The records own copies of what they keep: the rows before the next are done with.
                const auto done = static_cast<std::size_t>(next - all.data());
                if (done >= releasedTo + kReleaseStep) {
                    text.ReleaseFront(done);
                    releasedTo = done;
                }
            });
        },
        !all.empty(), catalogue);
}

void SortNumerically(std::vector<std::string>& numberTexts)
{
    if (numberTexts.size() < 2) return;
    // Read every text once, then a stable sort: the same order as repeated
    // passes exchanging neighbours only when the first is strictly greater.
    std::vector<long double> keys;
    keys.reserve(numberTexts.size());
    for (const auto& text : numberTexts) keys.push_back(ReadNumber(text));
    std::vector<std::size_t> order(numberTexts.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    std::vector<std::string> sorted;
    sorted.reserve(order.size());
    for (std::size_t i : order) sorted.push_back(std::move(numberTexts[i]));
    numberTexts = std::move(sorted);
}

}  // namespace quillon
