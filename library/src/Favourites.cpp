#include "library/Favourites.h"

#include "library/BooksFolder.h"
#include "library/LibraryFile.h"

#include "EntityText.h"

#include <QFile>

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>

#include <algorithm>
#include <memory>

namespace favourites {
namespace {

const xmlChar* x(const char* text)
{
    return reinterpret_cast<const xmlChar*>(text);
}

struct DocDeleter {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
struct XPathContextDeleter {
    void operator()(xmlXPathContext* context) const { xmlXPathFreeContext(context); }
};
struct XPathObjectDeleter {
    void operator()(xmlXPathObject* object) const { xmlXPathFreeObject(object); }
};

// Hostile input is read without the network and without messages on the
// terminal; entities stay references, expanded below within a budget.
constexpr int kReadOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;


}  // namespace

bool isRemembered(const std::vector<std::string>& entries, std::string_view address)
{
    return std::any_of(entries.begin(), entries.end(), [address](const std::string& entry) {
        return entry.find(address) != std::string::npos || address.find(entry) != std::string_view::npos;
    });
}

bool remember(std::vector<std::string>& entries, const std::string& address)
{
    if (address.empty() || isRemembered(entries, address))
        return false;
    if (entries.size() >= kMaxEntries)
        entries.erase(entries.begin() + 1);
    entries.push_back(address);
    return true;
}

std::vector<std::string> parse(std::string_view bytes)
{
    std::vector<std::string> entries;
    if (bytes.empty() || bytes.size() > kMaxFileSize)
        return entries;
    xmlInitParser();
    const std::unique_ptr<xmlDoc, DocDeleter> doc(
        xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr, kReadOptions));
    if (!doc)
        return entries;
    const std::unique_ptr<xmlXPathContext, XPathContextDeleter> context(xmlXPathNewContext(doc.get()));
    if (!context)
        return entries;
    const std::unique_ptr<xmlXPathObject, XPathObjectDeleter> found(xmlXPathEvalExpression(x("//@href"), context.get()));
    if (!found || found->type != XPATH_NODESET || !found->nodesetval)
        return entries;
    EntityText reader(doc.get(), kMaxFileSize);
    const xmlNodeSet& nodes = *found->nodesetval;
    const size_t count = std::min(static_cast<size_t>(std::max(nodes.nodeNr, 0)), kLoadLimit);
    for (size_t i = 0; i < count && !reader.exhausted(); ++i) {
        const xmlNode* node = nodes.nodeTab[i];
        if (!node || node->type != XML_ATTRIBUTE_NODE)
            continue;
        std::string value;
        reader.append(value, reinterpret_cast<const xmlAttr*>(node)->children);
        if (!value.empty() && !reader.exhausted())
            entries.push_back(std::move(value));
    }
    return entries;
}

std::string serialize(const std::vector<std::string>& entries)
{
    xmlInitParser();
    const std::unique_ptr<xmlDoc, DocDeleter> doc(xmlNewDoc(x("1.0")));
    xmlNode* root = xmlNewDocNode(doc.get(), nullptr, x("root"), nullptr);
    xmlDocSetRootElement(doc.get(), root);
    for (const std::string& entry : entries) {
        xmlNode* item = xmlNewChild(root, nullptr, x("item"), nullptr);
        xmlNewProp(item, x("href"), x(libraryfile::xmlText(entry).c_str()));
    }
    xmlChar* bytes = nullptr;
    int size = 0;
    xmlDocDumpMemoryEnc(doc.get(), &bytes, &size, "UTF-8");
    if (!bytes)
        return {};
    const std::string plain(reinterpret_cast<const char*>(bytes), static_cast<size_t>(std::max(size, 0)));
    xmlFree(bytes);
    return libraryfile::prettyPrint(plain);
}

std::string filePath(const std::string& programFolder)
{
    return programFolder + "/favorite.xml";
}

std::vector<std::string> load(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly) || file.size() > static_cast<qint64>(kMaxFileSize))
        return {};
    const QByteArray bytes = file.read(static_cast<qint64>(kMaxFileSize) + 1);
    return parse(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

bool save(const std::string& path, const std::vector<std::string>& entries)
{
    const std::string bytes = serialize(entries);
    return !bytes.empty() && books::replaceFileAtomically(path, bytes);
}

}  // namespace favourites
