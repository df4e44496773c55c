#include "device/hid_report_descriptor.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

#include "base/byte_io.h"

namespace korvel {
namespace {

// Larger reports only come from damaged or hostile descriptors; the bound also keeps every bit
// position we compute far from overflow.
constexpr std::uint64_t kMaxReportBits = 4096 * 8;
constexpr std::size_t kMaxGlobalStackDepth = 16;
// Fields that mix several usages or ranges get them expanded into a list; this bounds what one
// descriptor can make us allocate that way.
constexpr std::uint64_t kMaxExpandedUsages = 1 << 18;
constexpr std::size_t kReportIdCount = 256;

constexpr std::uint8_t kLongItemPrefix = 0xFE;

enum ItemType : std::uint8_t { kTypeMain = 0, kTypeGlobal = 1, kTypeLocal = 2 };

enum MainTag : std::uint8_t {
    kTagInput = 0x8,
    kTagOutput = 0x9,
    kTagCollection = 0xA,
    kTagFeature = 0xB,
    kTagEndCollection = 0xC,
};

enum GlobalTag : std::uint8_t {
    kTagUsagePage = 0x0,
    kTagLogicalMin = 0x1,
    kTagLogicalMax = 0x2,
    kTagPhysicalMin = 0x3,
    kTagPhysicalMax = 0x4,
    kTagReportSize = 0x7,
    kTagReportId = 0x8,
    kTagReportCount = 0x9,
    kTagPush = 0xA,
    kTagPop = 0xB,
};

enum LocalTag : std::uint8_t {
    kTagUsage = 0x0,
    kTagUsageMin = 0x1,
    kTagUsageMax = 0x2,
    kTagDelimiter = 0xA,
};

constexpr std::uint32_t kFlagConstant = 1u << 0;
constexpr std::uint32_t kFlagVariable = 1u << 1;

enum ReportKind : std::size_t { kInput = 0, kOutput = 1, kFeature = 2, kReportKinds = 3 };

struct Item {
    std::uint8_t type = 0;
    std::uint8_t tag = 0;
    std::uint8_t size = 0;  // bytes of data: 0, 1, 2 or 4
    std::uint32_t data = 0;
};

std::int32_t SignedData(const Item& item) {
    switch (item.size) {
        case 1:
            return static_cast<std::int8_t>(item.data);
        case 2:
            return static_cast<std::int16_t>(item.data);
        case 4:
            return static_cast<std::int32_t>(item.data);
        default:
            return 0;
    }
}

// A logical or physical maximum as written, kept both ways until its minimum is known.
struct RangeEnd {
    std::int32_t asSigned = 0;
    std::uint32_t asUnsigned = 0;
};

// The items are signed, yet devices commonly write 255 as the single byte 0xFF; with a minimum
// that is not negative, such a maximum can only have been meant unsigned.
std::int32_t ResolveMaximum(std::int32_t minimum, RangeEnd maximum) {
    constexpr auto kLargest = static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max());
    if (minimum >= 0 && maximum.asSigned < 0 && maximum.asUnsigned <= kLargest) {
        return static_cast<std::int32_t>(maximum.asUnsigned);
    }
    return maximum.asSigned;
}

struct Globals {
    std::uint16_t usagePage = 0;
    std::int32_t logicalMin = 0;
    RangeEnd logicalMax;
    std::int32_t physicalMin = 0;
    RangeEnd physicalMax;
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint8_t reportId = 0;
};

// A usage as the Usage / Usage Minimum / Usage Maximum item gave it, with its page: a 4-byte
// (extended) one carries its own, a shorter one takes the usage page in force where it is declared,
// unless a Usage Page item after it, before the main item, gives it that one (TakeLatePage).
struct LocalUsage {
    std::uint16_t page = 0;
    std::uint16_t id = 0;
    bool extended = false;
};

struct UsageSpan {
    LocalUsage first;
    LocalUsage last;
};

struct Locals {
    std::vector<UsageSpan> spans;
    std::optional<LocalUsage> pendingMin;
    std::optional<LocalUsage> pendingMax;
    bool inDelimiter = false;
    bool delimiterUsageTaken = false;
};

// A Usage Page item written after some usages and before their main item counts for the last of
// them, as devices write "Usage (0x92), Usage Page (0xFF1C), Collection" and hosts read it: walking
// back from the last usage, each one declared on another page takes the page in force at the main
// item, until one that already has it. Usages before that one keep the page of their declaration,
// and extended usages keep their own.
void TakeLatePage(std::vector<UsageSpan>& spans, std::uint16_t page) {
    for (auto span = spans.rbegin(); span != spans.rend(); ++span) {
        for (LocalUsage* usage : {&span->last, &span->first}) {
            if (usage->extended) {
                continue;
            }
            if (usage->page == page) {
                return;
            }
            usage->page = page;
        }
    }
}

struct ResolvedSpan {
    std::uint16_t page = 0;
    std::uint16_t first = 0;
    std::uint16_t last = 0;
};

struct ReportBits {
    bool declared = false;
    std::uint32_t bits = 0;
};

struct ParseResult {
    std::vector<HidCollectionInfo> collections;
    std::array<std::vector<HidField>, kReportKinds> fields;
    bool usesReportIds = false;
    std::array<std::size_t, kReportKinds> longest{};
};

class DescriptorParser {
public:
    explicit DescriptorParser(std::span<const std::uint8_t> bytes) : m_reader(bytes) {
        m_owner.fill(-1);
    }

    bool Run();
    ParseResult Take() { return std::move(m_result); }
    const std::string& Error() const { return m_error; }

private:
    bool Fail(const std::string& what);
    bool ReadItem(Item& item, bool& isLong);
    bool OnMain(const Item& item);
    bool OnGlobal(const Item& item);
    bool OnLocal(const Item& item);
    bool AddField(const Item& item, ReportKind kind);
    bool OpenCollection();
    bool ResolveLocals(std::vector<ResolvedSpan>& spans);
    bool FillUsages(HidField& field, const std::vector<ResolvedSpan>& spans);
    void Finish();

    ByteReader m_reader;
    std::size_t m_itemOffset = 0;
    std::string m_error;
    Globals m_globals;
    std::vector<Globals> m_globalStack;
    Locals m_locals;
    std::size_t m_depth = 0;
    bool m_defaultIdUsed = false;
    bool m_explicitIdUsed = false;
    std::uint64_t m_expandedUsages = 0;
    std::array<std::array<ReportBits, kReportIdCount>, kReportKinds> m_reports{};
    std::array<int, kReportIdCount> m_owner{};  // top-level collection of each report id
    ParseResult m_result;
};

bool DescriptorParser::Fail(const std::string& what) {
    m_error = "HID report descriptor, byte " + std::to_string(m_itemOffset) + ": " + what;
    return false;
}

bool DescriptorParser::ReadItem(Item& item, bool& isLong) {
    std::uint8_t prefix = 0;
    m_reader.ReadU8(prefix);
    isLong = prefix == kLongItemPrefix;
    if (isLong) {
        std::uint8_t dataSize = 0;
        std::uint8_t longTag = 0;
        if (!m_reader.ReadU8(dataSize) || !m_reader.ReadU8(longTag) || !m_reader.Skip(dataSize)) {
            return Fail("long item runs past the end");
        }
        return true;
    }
    static constexpr std::array<std::uint8_t, 4> kSizes = {0, 1, 2, 4};
    item.size = kSizes[prefix & 0x03];
    item.type = static_cast<std::uint8_t>((prefix >> 2) & 0x03);
    item.tag = static_cast<std::uint8_t>(prefix >> 4);
    item.data = 0;
    bool ok = true;
    switch (item.size) {
        case 1: {
            std::uint8_t value = 0;
            ok = m_reader.ReadU8(value);
            item.data = value;
            break;
        }
        case 2: {
            std::uint16_t value = 0;
            ok = m_reader.ReadU16LittleEndian(value);
            item.data = value;
            break;
        }
        case 4:
            ok = m_reader.ReadU32LittleEndian(item.data);
            break;
        default:
            break;
    }
    return ok ? true : Fail("item runs past the end");
}

bool DescriptorParser::Run() {
    while (m_reader.Remaining() > 0) {
        m_itemOffset = m_reader.Offset();
        Item item;
        bool isLong = false;
        if (!ReadItem(item, isLong)) {
            return false;
        }
        if (isLong) {
            continue;  // no long item is defined; their length lets us step over them
        }
        bool ok = true;
        switch (item.type) {
            case kTypeMain:
                ok = OnMain(item);
                break;
            case kTypeGlobal:
                ok = OnGlobal(item);
                break;
            case kTypeLocal:
                ok = OnLocal(item);
                break;
            default:
                break;  // reserved item type: nothing to apply
        }
        if (!ok) {
            return false;
        }
    }
    m_itemOffset = m_reader.Offset();
    if (m_depth != 0) {
        return Fail("collection not closed");
    }
    if (m_locals.inDelimiter) {
        return Fail("delimiter set not closed");
    }
    if (m_result.collections.empty()) {
        return Fail("no top-level collection");
    }
    Finish();
    return true;
}

bool DescriptorParser::OnMain(const Item& item) {
    if (m_locals.inDelimiter) {
        return Fail("main item inside an open delimiter set");
    }
    bool ok = true;
    switch (item.tag) {
        case kTagInput:
            ok = AddField(item, kInput);
            break;
        case kTagOutput:
            ok = AddField(item, kOutput);
            break;
        case kTagFeature:
            ok = AddField(item, kFeature);
            break;
        case kTagCollection:
            ok = OpenCollection();
            break;
        case kTagEndCollection:
            if (m_depth == 0) {
                return Fail("end collection without an open collection");
            }
            --m_depth;
            break;
        default:
            break;  // reserved main tag
    }
    m_locals = Locals{};
    return ok;
}

bool DescriptorParser::OnGlobal(const Item& item) {
    switch (item.tag) {
        case kTagUsagePage:
            m_globals.usagePage = static_cast<std::uint16_t>(item.data);
            break;
        case kTagLogicalMin:
            m_globals.logicalMin = SignedData(item);
            break;
        case kTagLogicalMax:
            m_globals.logicalMax = {SignedData(item), item.data};
            break;
        case kTagPhysicalMin:
            m_globals.physicalMin = SignedData(item);
            break;
        case kTagPhysicalMax:
            m_globals.physicalMax = {SignedData(item), item.data};
            break;
        case kTagReportSize:
            m_globals.reportSize = item.data;
            break;
        case kTagReportCount:
            m_globals.reportCount = item.data;
            break;
        case kTagReportId:
            if (item.data == 0 || item.data >= kReportIdCount) {
                return Fail("report id " + std::to_string(item.data) + " outside 1..255");
            }
            m_globals.reportId = static_cast<std::uint8_t>(item.data);
            break;
        case kTagPush:
            if (m_globalStack.size() >= kMaxGlobalStackDepth) {
                return Fail("push nested too deep");
            }
            m_globalStack.push_back(m_globals);
            break;
        case kTagPop:
            if (m_globalStack.empty()) {
                return Fail("pop without push");
            }
            m_globals = m_globalStack.back();
            m_globalStack.pop_back();
            break;
        default:
            break;  // unit, unit exponent and reserved tags do not affect the layout
    }
    return true;
}

bool DescriptorParser::OnLocal(const Item& item) {
    const bool extended = item.size == 4;
    const LocalUsage usage{
        extended ? static_cast<std::uint16_t>(item.data >> 16) : m_globals.usagePage,
        static_cast<std::uint16_t>(item.data), extended};
    switch (item.tag) {
        case kTagUsage:
            // Within a delimiter set the alternatives name the same control; the first one stands.
            if (m_locals.inDelimiter) {
                if (m_locals.delimiterUsageTaken) {
                    break;
                }
                m_locals.delimiterUsageTaken = true;
            }
            m_locals.spans.push_back({usage, usage});
            break;
        case kTagUsageMin:
        case kTagUsageMax:
            if (m_locals.inDelimiter) {
                break;
            }
            (item.tag == kTagUsageMin ? m_locals.pendingMin : m_locals.pendingMax) = usage;
            if (m_locals.pendingMin && m_locals.pendingMax) {
                m_locals.spans.push_back({*m_locals.pendingMin, *m_locals.pendingMax});
                m_locals.pendingMin.reset();
                m_locals.pendingMax.reset();
            }
            break;
        case kTagDelimiter:
            if (item.data != 0) {
                if (m_locals.inDelimiter) {
                    return Fail("delimiter set opened inside another");
                }
                m_locals.inDelimiter = true;
                m_locals.delimiterUsageTaken = false;
            } else {
                if (!m_locals.inDelimiter) {
                    return Fail("delimiter set closed without being opened");
                }
                m_locals.inDelimiter = false;
            }
            break;
        default:
            break;  // designators and strings do not affect decoding
    }
    return true;
}

bool DescriptorParser::ResolveLocals(std::vector<ResolvedSpan>& spans) {
    // An unpaired minimum or maximum is taken as a single usage rather than thrown away.
    if (m_locals.pendingMin) {
        m_locals.spans.push_back({*m_locals.pendingMin, *m_locals.pendingMin});
    }
    if (m_locals.pendingMax) {
        m_locals.spans.push_back({*m_locals.pendingMax, *m_locals.pendingMax});
    }
    m_locals.pendingMin.reset();
    m_locals.pendingMax.reset();
    TakeLatePage(m_locals.spans, m_globals.usagePage);

    spans.clear();
    spans.reserve(m_locals.spans.size());
    for (const UsageSpan& span : m_locals.spans) {
        const ResolvedSpan resolved{span.first.page, span.first.id, span.last.id};
        if (span.last.page != resolved.page) {
            return Fail("usage range spans two usage pages");
        }
        if (resolved.first > resolved.last) {
            return Fail("usage minimum above usage maximum");
        }
        spans.push_back(resolved);
    }
    return true;
}

bool DescriptorParser::OpenCollection() {
    std::vector<ResolvedSpan> spans;
    if (!ResolveLocals(spans)) {
        return false;
    }
    if (m_depth == 0) {
        if (m_defaultIdUsed) {
            return Fail("second top-level collection after reports without a report id");
        }
        HidCollectionInfo info;
        info.usagePage = spans.empty() ? m_globals.usagePage : spans.front().page;
        info.usage = spans.empty() ? 0 : spans.front().first;
        m_result.collections.push_back(std::move(info));
    }
    ++m_depth;
    return true;
}

bool DescriptorParser::FillUsages(HidField& field, const std::vector<ResolvedSpan>& spans) {
    field.usagePage = spans.empty() ? m_globals.usagePage : spans.front().page;
    const auto encode = [&field](std::uint16_t page, std::uint16_t id) -> std::uint32_t {
        return page == field.usagePage ? id : (static_cast<std::uint32_t>(page) << 16) | id;
    };
    if (spans.size() <= 1) {
        if (!spans.empty()) {
            field.usageMin = encode(spans.front().page, spans.front().first);
            field.usageMax = encode(spans.front().page, spans.front().last);
        }
        return true;
    }
    // Only as many usages as the field can address are worth keeping: one per element of a
    // variable field, one per selector value of an array.
    std::uint64_t wanted = field.reportCount;
    if (field.isArray) {
        const std::int64_t selectors =
            static_cast<std::int64_t>(field.logicalMax) - field.logicalMin + 1;
        wanted = selectors > 0 ? static_cast<std::uint64_t>(selectors) : 0;
    }
    std::uint64_t declared = 0;
    for (const ResolvedSpan& span : spans) {
        declared += static_cast<std::uint64_t>(span.last) - span.first + 1;
    }
    const std::uint64_t keep = std::min(wanted, declared);
    if (keep > kMaxExpandedUsages - m_expandedUsages) {
        return Fail("too many usages");
    }
    m_expandedUsages += keep;
    field.usages.reserve(static_cast<std::size_t>(keep));
    for (const ResolvedSpan& span : spans) {
        for (std::uint32_t id = span.first; id <= span.last && field.usages.size() < keep; ++id) {
            field.usages.push_back(encode(span.page, static_cast<std::uint16_t>(id)));
        }
    }
    if (!field.usages.empty()) {
        const auto [low, high] = std::minmax_element(field.usages.begin(), field.usages.end());
        field.usageMin = *low;
        field.usageMax = *high;
    }
    return true;
}

bool DescriptorParser::AddField(const Item& item, ReportKind kind) {
    // Windows refuses these too: such an item belongs to no device it could expose.
    if (m_depth == 0) {
        return Fail("input, output or feature item outside any collection");
    }
    const std::size_t collection = m_result.collections.size() - 1;
    const std::uint8_t id = m_globals.reportId;
    // As on Windows, report id 0 is implied only for a single collection that never names ids;
    // otherwise a report could not be told apart from the others by its first byte.
    if (id == 0) {
        if (m_explicitIdUsed || m_result.collections.size() > 1) {
            return Fail("report without a report id where report ids are in use");
        }
        m_defaultIdUsed = true;
    } else {
        if (m_defaultIdUsed) {
            return Fail("report id " + std::to_string(id) + " after reports without one");
        }
        m_explicitIdUsed = true;
        if (m_owner[id] >= 0 && static_cast<std::size_t>(m_owner[id]) != collection) {
            return Fail("report id " + std::to_string(id) + " used by two top-level collections");
        }
        HidCollectionInfo& info = m_result.collections[collection];
        if (m_owner[id] < 0) {
            m_owner[id] = static_cast<int>(collection);
            info.reportIds.push_back(id);
        }
        if (kind == kInput && std::find(info.inputReportIds.begin(), info.inputReportIds.end(),
                                        id) == info.inputReportIds.end()) {
            info.inputReportIds.push_back(id);
        }
    }

    const std::uint32_t size = m_globals.reportSize;
    const std::uint32_t count = m_globals.reportCount;
    // Two 32-bit factors cannot overflow 64 bits, and report.bits never exceeds the bound.
    const std::uint64_t bits = static_cast<std::uint64_t>(size) * count;
    ReportBits& report = m_reports[kind][id];
    if (bits > kMaxReportBits - report.bits) {
        return Fail("report " + std::to_string(id) + " longer than " +
                    std::to_string(kMaxReportBits / 8) + " bytes");
    }
    HidField field;
    field.bitOffset = report.bits;
    report.declared = true;
    report.bits += static_cast<std::uint32_t>(bits);
    if (size == 0 || count == 0) {
        return true;  // takes no bits, so there is nothing to decode
    }

    field.reportId = id;
    field.collection = collection;
    field.flags = item.data;
    field.isConstant = (item.data & kFlagConstant) != 0;
    field.isArray = (item.data & kFlagVariable) == 0;
    field.isButton = field.isArray || size == 1;
    field.reportSize = size;
    field.reportCount = count;
    field.logicalMin = m_globals.logicalMin;
    field.logicalMax = ResolveMaximum(m_globals.logicalMin, m_globals.logicalMax);
    field.physicalMin = m_globals.physicalMin;
    field.physicalMax = ResolveMaximum(m_globals.physicalMin, m_globals.physicalMax);

    std::vector<ResolvedSpan> spans;
    if (!ResolveLocals(spans) || !FillUsages(field, spans)) {
        return false;
    }
    m_result.fields[kind].push_back(std::move(field));
    return true;
}

void DescriptorParser::Finish() {
    m_result.usesReportIds = m_explicitIdUsed;
    for (std::size_t kind = 0; kind < kReportKinds; ++kind) {
        for (std::size_t id = 0; id < kReportIdCount; ++id) {
            const ReportBits& report = m_reports[kind][id];
            if (!report.declared) {
                continue;
            }
            const std::size_t bytes = (report.bits + 7) / 8 + 1;
            m_result.longest[kind] = std::max(m_result.longest[kind], bytes);
            // Id 0 is only ever used by a descriptor with a single collection.
            const std::size_t owner = id == 0 ? 0 : static_cast<std::size_t>(m_owner[id]);
            HidCollectionInfo& info = m_result.collections[owner];
            std::size_t& longest = kind == kInput    ? info.inputReportByteLength
                                   : kind == kOutput ? info.outputReportByteLength
                                                     : info.featureReportByteLength;
            longest = std::max(longest, bytes);
        }
    }
}

}  // namespace

std::optional<HidReportDescriptor> HidReportDescriptor::Parse(std::span<const std::uint8_t> bytes,
                                                              std::string* error) {
    DescriptorParser parser(bytes);
    if (!parser.Run()) {
        if (error != nullptr) {
            *error = parser.Error();
        }
        return std::nullopt;
    }
    ParseResult result = parser.Take();
    HidReportDescriptor descriptor;
    descriptor.m_collections = std::move(result.collections);
    descriptor.m_inputFields = std::move(result.fields[kInput]);
    descriptor.m_outputFields = std::move(result.fields[kOutput]);
    descriptor.m_featureFields = std::move(result.fields[kFeature]);
    descriptor.m_usesReportIds = result.usesReportIds;
    descriptor.m_inputReportByteLength = result.longest[kInput];
    descriptor.m_outputReportByteLength = result.longest[kOutput];
    descriptor.m_featureReportByteLength = result.longest[kFeature];
    return descriptor;
}

}  // namespace korvel
