#include "book/Encodings.h"

#include "book/CVersaleoDoc.h"
#include "book/CodePage.h"
#include "book/TextLayout.h"

#include <opencc.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>

namespace encoding {
namespace {

Text newText(const std::string& bytes)
{
    Text text(new char[bytes.size() + 1]());
    std::memcpy(text.get(), bytes.data(), bytes.size());
    return text;
}

Text convertCodePage(const char* text, const char* from, const char* to)
{
    if (!text)
        return nullptr;
    return newText(codepage::convert(text, from, to));
}

// OpenCC converts in UTF-8, by phrase as well as by character. Its
// dictionaries load once, on first use.
class ChineseConverter {
public:
    explicit ChineseConverter(const char* config) : m_handle(opencc_open(config)) {}
    ~ChineseConverter()
    {
        if (ok())
            opencc_close(m_handle);
    }
    ChineseConverter(const ChineseConverter&) = delete;
    ChineseConverter& operator=(const ChineseConverter&) = delete;
    bool ok() const { return m_handle != reinterpret_cast<opencc_t>(-1); }

    Text convert(const char* gbk)
    {
        if (!gbk || !ok())
            return nullptr;
        const std::string utf8 = codepage::toUtf8(gbk);
        std::lock_guard lock(m_mutex);
        char* converted = opencc_convert_utf8(m_handle, utf8.data(), utf8.size());
        if (!converted)
            return nullptr;
        Text result = newText(codepage::fromUtf8(converted));
        opencc_convert_utf8_free(converted);
        return result;
    }

private:
    opencc_t m_handle;
    std::mutex m_mutex;
};

ChineseConverter& toSimplified()
{
    static ChineseConverter converter("t2s.json");
    return converter;
}

ChineseConverter& toTraditional()
{
    static ChineseConverter converter("s2t.json");
    return converter;
}

constexpr const char* kSongTi = "\xCB\xCE\xCC\xE5";  // 宋体

constexpr EncodingRow kRows[] = {
    {0, 134, kSongTi, nullptr, nullptr},
    {1, 136, kSongTi, nullptr, nullptr},
    {2, 0, "Arial", utf8ToAnsi, nullptr},
    {3, 0, "Arial", nullptr, nullptr},
    {4, 128, "MS Gothic", nullptr, nullptr},
    {100, 134, kSongTi, big5ToGb2312, traditionalToSimplified},
    {101, 134, kSongTi, big5ToGbk, nullptr},
    {102, 134, kSongTi, traditionalToSimplified, traditionalToSimplified},
    {103, 136, kSongTi, gbkToBig5, gbkToBig5},
    {104, 136, kSongTi, gb2312ToBig5, gb2312ToBig5},
    {105, 134, kSongTi, simplifiedToTraditional, simplifiedToTraditional},
};

// What a command lays out instead of the kept bytes; null for the kept bytes.
// Reading them in another encoding always starts from the bytes themselves.
// A conversion of a text whose encoding opening found starts from the
// characters shown (a UTF-8 text is not GBK bytes), and falls back to them.
Text convertedCopy(const TextSource& source, const EncodingRow& row)
{
    const bool conversion = row.code >= 100;
    if (!conversion || source.encoding.empty())
        return row.convert ? row.convert(source.bytes.c_str()) : nullptr;
    const std::string read = codepage::toSystem(source.bytes, source.encoding.c_str());
    Text converted = row.convertRead ? row.convertRead(read.c_str()) : nullptr;
    return converted && converted[0] ? std::move(converted) : newText(read);
}

}  // namespace

Text utf8ToAnsi(const char* text)
{
    return text ? newText(codepage::toSystem(text, codepage::kUtf8)) : nullptr;
}

Text big5ToGbk(const char* text)
{
    return convertCodePage(text, codepage::kBig5, codepage::kSystem);
}

Text gbkToBig5(const char* text)
{
    return convertCodePage(text, codepage::kSystem, codepage::kBig5);
}

Text traditionalToSimplified(const char* text)
{
    return toSimplified().convert(text);
}

Text simplifiedToTraditional(const char* text)
{
    return toTraditional().convert(text);
}

Text big5ToGb2312(const char* text)
{
    const Text gbk = big5ToGbk(text);
    return traditionalToSimplified(gbk.get());
}

Text gb2312ToBig5(const char* text)
{
    const Text traditional = simplifiedToTraditional(text);
    return gbkToBig5(traditional.get());
}

const EncodingRow* findEncoding(int code)
{
    const auto found = std::find_if(std::begin(kRows), std::end(kRows), [code](const auto& row) { return row.code == code; });
    return found == std::end(kRows) ? nullptr : found;
}

void reencode(CVersaleoDoc& doc, int code)
{
    if (doc.textSources.empty())
        return;
    DocumentNotifier* notifier = doc.notifier();
    if (notifier)
        notifier->beginWait();
    const EncodingRow* row = findEncoding(code);
    // Sources may leave the list while it is walked: take their addresses first.
    std::vector<TextSource*> sources;
    for (const auto& source : doc.textSources)
        sources.push_back(source.get());
    for (TextSource* source : sources) {
        const int first = doc.indexOfPage(source->firstPage);
        const int last = doc.indexOfPage(source->lastPage);
        if (first < 0 || last < 0 || !row)
            continue;
        LOGFONT& font = doc.styles.bookPage.font;
        font.lfCharSet = row->charset;
        font.setFaceName(row->face);

        const Text converted = convertedCopy(*source, *row);
        // The entries of the text's first page go with it; chapter headings
        // the layout finds again, so of those only the file's own is kept.
        std::vector<std::unique_ptr<IndexEntry>> kept;
        for (const auto& entry : source->firstPage->indexEntries) {
            if (source->findsChapters && !kept.empty())
                break;
            kept.push_back(std::make_unique<IndexEntry>(*entry));
        }
        if (!doc.deleteLeaves(first, last, source))
            continue;
        const int at = std::clamp(first, doc.firstContentPage(), std::max(doc.firstContentPage(), doc.lastContentPage() + 1));
        const std::string_view text = converted && converted[0] ? std::string_view(converted.get()) : source->bytes;
        layout::layOutText(doc, at, text, source, "", "", *doc.bookMeasurer(), source->findsChapters);
        // In front of the chapters' entries found again.
        auto& entries = source->firstPage->indexEntries;
        entries.insert(entries.begin(), std::make_move_iterator(kept.begin()), std::make_move_iterator(kept.end()));
    }
    if (doc.modified) {
        doc.rebuildIndexPages();
        doc.numberBookmarks();
        doc.currentPage = doc.firstContentPage();
        if (notifier)
            notifier->refreshViews();
    }
    if (notifier)
        notifier->endWait();
}

}  // namespace encoding
