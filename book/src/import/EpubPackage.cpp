#include "book/import/EpubPackage.h"

#include "book/CodePage.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <memory>
#include <unordered_map>

namespace epub {
namespace {

constexpr const char* kDublinCore = "http://purl.org/dc/elements/1.1/";
constexpr const char* kOps = "http://www.idpf.org/2007/ops";
// Fonts are obfuscated with these, not locked: such a book reads as any other.
constexpr std::array<std::string_view, 2> kFontObfuscation = {"http://www.idpf.org/2008/embedding",
                                                              "http://ns.adobe.com/pdf/enc#RC"};

struct DocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using XmlDoc = std::unique_ptr<xmlDoc, DocFree>;

// No network, no entity expansion, no messages on stderr.
XmlDoc parseXml(std::string_view bytes, int extraOptions = 0, const char* encoding = nullptr)
{
    if (bytes.size() > static_cast<size_t>(INT_MAX))
        return nullptr;
    xmlInitParser();
    return XmlDoc(xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), "book.xml", encoding,
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | extraOptions));
}

// The package documents of many books in the wild name no encoding yet are
// not UTF-8 (Chinese books made here are mostly GBK), or have a stray byte in
// a title: such a book still opens, its title read as the system code page.
XmlDoc parseLeniently(std::string_view bytes)
{
    if (XmlDoc doc = parseXml(bytes))
        return doc;
    if (!codepage::isUtf8(bytes)) {
        if (XmlDoc doc = parseXml(bytes, XML_PARSE_RECOVER, "GB18030"))
            return doc;
    }
    return parseXml(bytes, XML_PARSE_RECOVER);
}

bool named(const xmlNode* node, const char* name)
{
    return node && node->type == XML_ELEMENT_NODE && std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

std::string attribute(const xmlNode* node, const char* name, const char* ns = nullptr)
{
    xmlChar* value = ns ? xmlGetNsProp(node, reinterpret_cast<const xmlChar*>(name), reinterpret_cast<const xmlChar*>(ns))
                        : xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    if (!value)
        return {};
    std::string text(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return text;
}

// Every element below `node` (itself included), in document order.
template <typename F>
void forEachElement(xmlNode* node, F&& f)
{
    for (xmlNode* child = node; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE)
            continue;
        f(child);
        forEachElement(child->children, f);
    }
}

template <typename F>
void forEachElementBelow(xmlNode* node, F&& f)
{
    if (node)
        forEachElement(node->children, f);
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

void appendCollapsed(std::string& out, std::string_view text, bool& pendingSpace)
{
    for (const char c : text) {
        if (isBlank(c)) {
            pendingSpace = !out.empty();
            continue;
        }
        if (pendingSpace)
            out += ' ';
        pendingSpace = false;
        out += c;
    }
}

// The text below a node, blanks collapsed; entity references are not followed.
void collectText(const xmlNode* node, std::string& out, bool& pendingSpace)
{
    for (const xmlNode* child = node ? node->children : nullptr; child; child = child->next) {
        if ((child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) && child->content)
            appendCollapsed(out, reinterpret_cast<const char*>(child->content), pendingSpace);
        else if (child->type == XML_ELEMENT_NODE)
            collectText(child, out, pendingSpace);
    }
}

std::string textOf(const xmlNode* node)
{
    std::string out;
    bool pendingSpace = false;
    collectText(node, out, pendingSpace);
    return out;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string percentDecoded(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Elements that start and end a paragraph of a chapter's text.
constexpr std::array<std::string_view, 28> kBlocks = {
    "p",     "div",    "h1",      "h2",     "h3",     "h4",  "h5",   "h6",         "li", "dt",
    "dd",    "blockquote", "pre", "section", "article", "header", "footer", "aside", "nav", "figure",
    "figcaption", "table", "tr",  "ul",     "ol",     "dl",  "hr",   "address"};
constexpr std::array<std::string_view, 5> kHidden = {"head", "script", "style", "title", "svg"};

struct Entity {
    std::string_view name;
    std::string_view utf8;
};
// Names an XHTML chapter may use without declaring them (its DTD is not read).
constexpr std::array<Entity, 12> kEntities = {{{"nbsp", " "},
                                               {"mdash", "\xE2\x80\x94"},
                                               {"ndash", "\xE2\x80\x93"},
                                               {"hellip", "\xE2\x80\xA6"},
                                               {"ldquo", "\xE2\x80\x9C"},
                                               {"rdquo", "\xE2\x80\x9D"},
                                               {"lsquo", "\xE2\x80\x98"},
                                               {"rsquo", "\xE2\x80\x99"},
                                               {"copy", "\xC2\xA9"},
                                               {"middot", "\xC2\xB7"},
                                               {"laquo", "\xC2\xAB"},
                                               {"raquo", "\xC2\xBB"}}};

class ChapterText {
public:
    void walk(const xmlNode* node)
    {
        for (const xmlNode* child = node ? node->children : nullptr; child; child = child->next) {
            switch (child->type) {
            case XML_TEXT_NODE:
            case XML_CDATA_SECTION_NODE:
                if (child->content)
                    addText(reinterpret_cast<const char*>(child->content));
                break;
            case XML_ENTITY_REF_NODE:
                addEntity(reinterpret_cast<const char*>(child->name));
                break;
            case XML_ELEMENT_NODE:
                element(child);
                break;
            default:
                break;
            }
        }
    }
    std::string finish()
    {
        flush();
        return std::move(m_out);
    }

private:
    void element(const xmlNode* node)
    {
        const std::string_view name = reinterpret_cast<const char*>(node->name);
        if (std::find(kHidden.begin(), kHidden.end(), name) != kHidden.end())
            return;
        if (name == "br") {
            flush();
            return;
        }
        const bool block = std::find(kBlocks.begin(), kBlocks.end(), name) != kBlocks.end();
        if (block)
            flush();
        const bool pre = name == "pre";
        m_pre += pre ? 1 : 0;
        walk(node);
        m_pre -= pre ? 1 : 0;
        if (block)
            flush();
    }
    void addText(std::string_view text)
    {
        if (m_pre == 0) {
            appendCollapsed(m_paragraph, text, m_pendingSpace);
            return;
        }
        for (const char c : text) {
            if (c == '\n')
                flush();
            else if (c != '\r')
                m_paragraph += c;
        }
    }
    void addEntity(std::string_view name)
    {
        for (const Entity& entity : kEntities) {
            if (entity.name == name) {
                addText(entity.utf8);
                return;
            }
        }
    }
    void flush()
    {
        while (!m_paragraph.empty() && isBlank(m_paragraph.back()))
            m_paragraph.pop_back();
        if (!m_paragraph.empty()) {
            m_out += m_paragraph;
            m_out += "\r\n";
        }
        m_paragraph.clear();
        m_pendingSpace = false;
    }

    std::string m_out;
    std::string m_paragraph;
    bool m_pendingSpace = false;
    int m_pre = 0;
};

bool hasToken(std::string_view list, std::string_view token)
{
    size_t start = 0;
    while (start < list.size()) {
        const size_t end = std::min(list.find(' ', start), list.size());
        if (list.substr(start, end - start) == token)
            return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

std::string resolve(std::string_view base, std::string_view href)
{
    const size_t hash = href.find('#');
    const std::string_view target = href.substr(0, hash);
    if (target.empty())
        return hash == std::string_view::npos ? std::string() : std::string(base);
    // A scheme ("http:", "mailto:") or an absolute path is no entry of the book.
    const size_t colon = target.find(':');
    if (target[0] == '/' || (colon != std::string_view::npos && colon < target.find('/')))
        return {};
    const std::string decoded = percentDecoded(target);
    const size_t slash = base.rfind('/');
    const std::string joined = (slash == std::string_view::npos ? std::string() : std::string(base.substr(0, slash + 1))) + decoded;
    std::vector<std::string_view> parts;
    const std::string_view path = joined;
    for (size_t start = 0; start <= path.size();) {
        const size_t end = std::min(path.find('/', start), path.size());
        const std::string_view part = path.substr(start, end - start);
        if (part == "..") {
            if (parts.empty())
                return {};
            parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string resolved;
    for (const std::string_view part : parts) {
        if (!resolved.empty())
            resolved += '/';
        resolved += part;
    }
    return resolved;
}

std::optional<std::string> packagePath(std::string_view containerXml)
{
    const XmlDoc doc = parseXml(containerXml);
    if (!doc)
        return std::nullopt;
    std::string first, package;
    forEachElement(xmlDocGetRootElement(doc.get()), [&](xmlNode* node) {
        if (!named(node, "rootfile"))
            return;
        const std::string path = attribute(node, "full-path");
        if (path.empty())
            return;
        if (first.empty())
            first = path;
        if (package.empty() && attribute(node, "media-type") == "application/oebps-package+xml")
            package = path;
    });
    const std::string chosen = package.empty() ? first : package;
    if (chosen.empty())
        return std::nullopt;
    return chosen;
}

std::optional<Package> parsePackage(std::string_view opf, const std::string& path)
{
    const XmlDoc doc = parseLeniently(opf);
    if (!doc || !xmlDocGetRootElement(doc.get()))
        return std::nullopt;
    struct Item {
        std::string path, mediaType, properties;
    };
    std::vector<std::pair<std::string, Item>> manifest;
    std::vector<std::string> spineIds;
    std::string tocId;
    Package package;
    bool titled = false;
    forEachElement(xmlDocGetRootElement(doc.get()), [&](xmlNode* node) {
        if (!titled && named(node, "title") && node->ns && node->ns->href &&
            std::strcmp(reinterpret_cast<const char*>(node->ns->href), kDublinCore) == 0) {
            package.title = textOf(node);
            titled = !package.title.empty();
        } else if (named(node, "item")) {
            manifest.push_back({attribute(node, "id"), Item{resolve(path, attribute(node, "href")),
                                                            attribute(node, "media-type"), attribute(node, "properties")}});
        } else if (named(node, "spine")) {
            tocId = attribute(node, "toc");
        } else if (named(node, "itemref")) {
            spineIds.push_back(attribute(node, "idref"));
        }
    });
    // The first item of each id, found at once however long the manifest.
    std::unordered_map<std::string, const Item*> ids;
    for (const auto& [id, item] : manifest)
        ids.emplace(id, &item);
    const auto byId = [&ids](const std::string& id) -> const Item* {
        const auto found = id.empty() ? ids.end() : ids.find(id);
        return found == ids.end() ? nullptr : found->second;
    };
    for (const std::string& id : spineIds) {
        const Item* item = byId(id);
        // A spine entry naming no item of the manifest is skipped.
        if (item && !item->path.empty())
            package.spine.push_back({item->path, item->mediaType});
    }
    for (const auto& [id, item] : manifest) {
        if (package.navPath.empty() && hasToken(item.properties, "nav"))
            package.navPath = item.path;
        if (package.ncxPath.empty() && item.mediaType == "application/x-dtbncx+xml")
            package.ncxPath = item.path;
    }
    if (const Item* toc = byId(tocId))
        package.ncxPath = toc->path;
    return package;
}

std::vector<TocEntry> parseNav(std::string_view xhtml, const std::string& path)
{
    std::vector<TocEntry> entries;
    const XmlDoc doc = parseXml(xhtml);
    if (!doc)
        return entries;
    xmlNode* chosen = nullptr;
    xmlNode* first = nullptr;
    forEachElement(xmlDocGetRootElement(doc.get()), [&](xmlNode* node) {
        if (!named(node, "nav"))
            return;
        if (!first)
            first = node;
        if (!chosen && hasToken(attribute(node, "type", kOps), "toc"))
            chosen = node;
    });
    if (!chosen)
        chosen = first;
    forEachElementBelow(chosen, [&](xmlNode* node) {
        if (!named(node, "a"))
            return;
        TocEntry entry{textOf(node), resolve(path, attribute(node, "href"))};
        if (!entry.title.empty() && !entry.path.empty())
            entries.push_back(std::move(entry));
    });
    return entries;
}

std::vector<TocEntry> parseNcx(std::string_view ncx, const std::string& path)
{
    std::vector<TocEntry> entries;
    const XmlDoc doc = parseXml(ncx);
    if (!doc)
        return entries;
    forEachElement(xmlDocGetRootElement(doc.get()), [&](xmlNode* node) {
        if (!named(node, "navPoint"))
            return;
        TocEntry entry;
        for (xmlNode* child = node->children; child; child = child->next) {
            if (named(child, "navLabel"))
                entry.title = textOf(child);
            else if (named(child, "content"))
                entry.path = resolve(path, attribute(child, "src"));
        }
        if (!entry.title.empty() && !entry.path.empty())
            entries.push_back(std::move(entry));
    });
    return entries;
}

bool encryptsContent(std::string_view encryptionXml)
{
    const XmlDoc doc = parseXml(encryptionXml);
    if (!doc)
        return false;
    bool locked = false;
    forEachElement(xmlDocGetRootElement(doc.get()), [&](xmlNode* node) {
        if (!named(node, "EncryptionMethod"))
            return;
        const std::string algorithm = attribute(node, "Algorithm");
        if (std::find(kFontObfuscation.begin(), kFontObfuscation.end(), algorithm) == kFontObfuscation.end())
            locked = true;
    });
    return locked;
}

bool isTextItem(const SpineItem& item)
{
    if (item.mediaType == "application/xhtml+xml" || item.mediaType == "text/html")
        return true;
    if (!item.mediaType.empty())
        return false;
    const std::string_view path = item.path;
    return path.ends_with(".xhtml") || path.ends_with(".html") || path.ends_with(".htm");
}

std::optional<std::string> xhtmlText(std::string_view xhtml)
{
    const XmlDoc doc = parseXml(xhtml);
    if (!doc)
        return std::nullopt;
    xmlNode* root = xmlDocGetRootElement(doc.get());
    if (!root)
        return std::nullopt;
    xmlNode* body = nullptr;
    forEachElement(root, [&body](xmlNode* node) {
        if (!body && named(node, "body"))
            body = node;
    });
    ChapterText text;
    if (body) {
        text.walk(body);
    } else {
        // Not XHTML after all: all its text, without the hidden parts.
        xmlNode holder{};
        holder.children = root;
        text.walk(&holder);
    }
    return text.finish();
}

}  // namespace epub
