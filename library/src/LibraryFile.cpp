#include "library/LibraryFile.h"

#include "EntityText.h"

#include "book/CodePage.h"

#include <QFile>

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxslt/transform.h>
#include <libxslt/xslt.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include <charconv>
#include <climits>
#include <memory>

namespace libraryfile {
namespace {

struct DocDeleter {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using Doc = std::unique_ptr<xmlDoc, DocDeleter>;

struct StylesheetDeleter {
    void operator()(xsltStylesheet* sheet) const { xsltFreeStylesheet(sheet); }
};
using Stylesheet = std::unique_ptr<xsltStylesheet, StylesheetDeleter>;

const xmlChar* x(const char* text)
{
    return reinterpret_cast<const xmlChar*>(text);
}

bool named(const xmlNode* node, const char* name)
{
    return node->type == XML_ELEMENT_NODE && xmlStrEqual(node->name, x(name));
}

// Hostile input is read without the network, and without messages on the
// terminal: a damaged file is the caller's to report.
constexpr int kReadOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

Doc read(std::string_view bytes)
{
    if (bytes.size() > kMaxFileSize)
        return nullptr;
    xmlInitParser();
    return Doc(xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr, kReadOptions));
}

// Attribute values with their entity references expanded within one budget:
// once it is spent the document is no library.
class AttributeReader {
public:
    explicit AttributeReader(xmlDoc* doc) : m_entities(doc, kMaxFileSize) {}

    std::string text(const xmlNode* node, const char* attribute)
    {
        std::string value;
        const xmlAttr* found = xmlHasProp(node, x(attribute));
        if (!found)
            return value;
        if (found->type == XML_ATTRIBUTE_DECL) {
            // a default declared in the document type
            const auto* declared = reinterpret_cast<const xmlAttribute*>(found);
            if (declared->defaultValue)
                value = reinterpret_cast<const char*>(declared->defaultValue);
            return value;
        }
        m_entities.append(value, found->children);
        return value;
    }

    int32_t number(const xmlNode* node, const char* attribute);

    bool exhausted() const { return m_entities.exhausted(); }

private:
    EntityText m_entities;
};

int32_t AttributeReader::number(const xmlNode* node, const char* attribute)
{
    const std::string value = text(node, attribute);
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    size_t first = 0, last = value.size();
    while (first < last && blank(value[first]))
        ++first;
    while (last > first && blank(value[last - 1]))
        --last;
    const char* begin = value.data() + first;
    if (first < last && *begin == '+')
        ++begin;
    int64_t parsed = 0;
    const auto [end, error] = std::from_chars(begin, value.data() + last, parsed);
    if (error != std::errc() || end != value.data() + last)
        return 0;
    // A colour may have been written unsigned; it is the same 32 bits.
    if (parsed >= INT32_MIN && parsed <= int64_t{UINT32_MAX})
        return static_cast<int32_t>(static_cast<uint32_t>(parsed));
    return 0;
}


void attribute(xmlNode* node, const char* name, const std::string& utf8)
{
    xmlNewProp(node, x(name), x(xmlText(utf8).c_str()));
}

void attribute(xmlNode* node, const char* name, int32_t value)
{
    xmlNewProp(node, x(name), x(std::to_string(value).c_str()));
}

std::string pageText(const std::string& utf8)
{
    return codepage::fromUtf8(utf8);
}

std::string fileText(const std::string& pageTextValue)
{
    return codepage::toUtf8(pageTextValue);
}

Stylesheet loadStylesheet()
{
    const std::string source = prettyPrintStylesheet();
    if (source.empty())
        return nullptr;
    xmlInitParser();
    xmlDoc* doc = xmlReadMemory(source.data(), static_cast<int>(source.size()), nullptr, nullptr, kReadOptions);
    if (!doc)
        return nullptr;
    // The stylesheet owns its document from here on, also when parsing fails.
    Stylesheet sheet(xsltParseStylesheetDoc(doc));
    if (!sheet)
        xmlFreeDoc(doc);
    return sheet;
}

std::string transform(xmlDoc* doc)
{
    const Stylesheet sheet = loadStylesheet();
    if (!sheet)
        return {};
    const Doc result(xsltApplyStylesheet(sheet.get(), doc, nullptr));
    if (!result)
        return {};
    xmlChar* bytes = nullptr;
    int size = 0;
    if (xsltSaveResultToString(&bytes, &size, result.get(), sheet.get()) != 0 || !bytes)
        return {};
    std::string out(reinterpret_cast<const char*>(bytes), static_cast<size_t>(size));
    xmlFree(bytes);
    return out;
}

}  // namespace

std::string xmlText(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        const std::string_view sequence = utf8.substr(i, length);
        if (sequence.size() < length || !codepage::isUtf8(sequence)) {
            ++i;
            continue;
        }
        i += length;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t k = 1; k < length; ++k)
            c = (c << 6) | (static_cast<unsigned char>(sequence[k]) & 0x3F);
        const bool allowed = c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
                             (c >= 0xE000 && c <= 0xFFFD) || c >= 0x10000;
        if (allowed)
            out.append(sequence);
    }
    return out;
}

bool isSafeFileName(std::string_view name)
{
    // Dots inside a name ("Vol..1.txt") lead nowhere; only "." and ".." as
    // the whole name do, and a separator.
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\\') == std::string_view::npos;
}

std::optional<std::vector<CCabinet>> parse(std::string_view bytes)
{
    const Doc doc = read(bytes);
    const xmlNode* root = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
    if (!root || !named(root, "root"))
        return std::nullopt;
    AttributeReader reader(doc.get());
    const auto text = [&reader](const xmlNode* node, const char* attribute) { return reader.text(node, attribute); };
    const auto number = [&reader](const xmlNode* node, const char* attribute) { return reader.number(node, attribute); };
    std::vector<CCabinet> cabinets;
    for (const xmlNode* node = root->children; node && !reader.exhausted(); node = node->next) {
        if (!named(node, "cabinet"))
            continue;
        CCabinet cabinet;
        cabinet.name = pageText(text(node, "name"));
        cabinet.creator = pageText(text(node, "creator"));
        cabinet.borderColor = static_cast<COLORREF>(number(node, "BorderColor"));
        cabinet.createYear = number(node, "CreateYear");
        cabinet.createMonth = number(node, "CreateMonth");
        cabinet.createDay = number(node, "CreateDay");
        for (const xmlNode* child = node->children; child; child = child->next) {
            if (!named(child, "book"))
                continue;
            CCabinetBook book;
            book.bookName = pageText(text(child, "BookName"));
            book.author = pageText(text(child, "author"));
            book.fileName = text(child, "FileName");
            book.frameColor = static_cast<COLORREF>(number(child, "FrameColor"));
            if (isSafeFileName(book.fileName))
                cabinet.books.push_back(std::move(book));
        }
        cabinets.push_back(std::move(cabinet));
    }
    if (reader.exhausted())
        return std::nullopt;
    return cabinets;
}

std::string serialize(const std::vector<CCabinet>& cabinets)
{
    xmlInitParser();
    const Doc doc(xmlNewDoc(x("1.0")));
    xmlNode* root = xmlNewDocNode(doc.get(), nullptr, x("root"), nullptr);
    xmlDocSetRootElement(doc.get(), root);
    for (const CCabinet& cabinet : cabinets) {
        xmlNode* element = xmlNewChild(root, nullptr, x("cabinet"), nullptr);
        attribute(element, "name", fileText(cabinet.name));
        attribute(element, "creator", fileText(cabinet.creator));
        attribute(element, "BorderColor", static_cast<int32_t>(cabinet.borderColor));
        attribute(element, "CreateYear", cabinet.createYear);
        attribute(element, "CreateMonth", cabinet.createMonth);
        attribute(element, "CreateDay", cabinet.createDay);
        for (const CCabinetBook& book : cabinet.books) {
            xmlNode* entry = xmlNewChild(element, nullptr, x("book"), nullptr);
            attribute(entry, "BookName", fileText(book.bookName));
            attribute(entry, "author", fileText(book.author));
            attribute(entry, "FileName", book.fileName);
            attribute(entry, "FrameColor", static_cast<int32_t>(book.frameColor));
        }
    }
    return transform(doc.get());
}

std::string prettyPrint(std::string_view xml)
{
    const Doc doc = read(xml);
    return doc ? transform(doc.get()) : std::string();
}

std::string prettyPrintStylesheet()
{
    QFile file(QStringLiteral(":/XSLT/40"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

}  // namespace libraryfile
