// EPUB books made on the spot with libzip, for the tests and the benchmark:
// nothing is downloaded, every byte is written here.
#pragma once

#include <zip.h>

#include <string>
#include <utility>
#include <vector>

using ZipEntries = std::vector<std::pair<std::string, std::string>>;

// Writes a zip file of the entries, in order; false when libzip refuses.
inline bool writeZip(const std::string& path, const ZipEntries& entries)
{
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        return false;
    for (const auto& [name, content] : entries) {
        zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
        if (!source || zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(source);
            zip_discard(archive);
            return false;
        }
        // The mimetype entry of a real book is stored, not deflated.
        if (name == "mimetype")
            zip_set_file_compression(archive, zip_name_locate(archive, name.c_str(), 0), ZIP_CM_STORE, 0);
    }
    return zip_close(archive) == 0;
}

struct EpubChapter {
    std::string file;        // below OEBPS/
    std::string tocTitle;    // UTF-8
    std::string xhtml;       // the whole file
};

inline std::string xhtmlPage(const std::string& heading, const std::vector<std::string>& paragraphs,
                             const std::string& declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>")
{
    std::string page = declaration + "\n<html xmlns=\"http://www.w3.org/1999/xhtml\">\n<head><title>" + heading +
                       "</title><style>p { margin: 0 }</style></head>\n<body>\n<h1>" + heading + "</h1>\n";
    for (const std::string& p : paragraphs)
        page += "<p class=\"text\">" + p + "</p>\n";
    return page + "</body>\n</html>\n";
}

inline const std::string kContainerXml =
    "<?xml version=\"1.0\"?>\n<container version=\"1.0\" xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\">"
    "<rootfiles><rootfile full-path=\"OEBPS/content.opf\" media-type=\"application/oebps-package+xml\"/></rootfiles>"
    "</container>\n";

// An EPUB 3 book (navigation document) or an EPUB 2 book (NCX) of the chapters.
inline ZipEntries epubEntries(const std::string& title, const std::vector<EpubChapter>& chapters, bool epub3)
{
    std::string manifest, spine, nav, ncx;
    int n = 0;
    for (const EpubChapter& c : chapters) {
        const std::string id = "c" + std::to_string(++n);
        manifest += "<item id=\"" + id + "\" href=\"" + c.file + "\" media-type=\"application/xhtml+xml\"/>\n";
        spine += "<itemref idref=\"" + id + "\"/>\n";
        nav += "<li><a href=\"" + c.file + "\">" + c.tocTitle + "</a></li>\n";
        ncx += "<navPoint id=\"n" + std::to_string(n) + "\" playOrder=\"" + std::to_string(n) + "\"><navLabel><text>" +
               c.tocTitle + "</text></navLabel><content src=\"" + c.file + "\"/></navPoint>\n";
    }
    ZipEntries entries = {{"mimetype", "application/epub+zip"}, {"META-INF/container.xml", kContainerXml}};
    std::string opf = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<package xmlns=\"http://www.idpf.org/2007/opf\" version=\"" +
                      std::string(epub3 ? "3.0" : "2.0") +
                      "\" unique-identifier=\"id\">\n<metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">"
                      "<dc:identifier id=\"id\">test-book</dc:identifier><dc:title>" +
                      title + "</dc:title><dc:language>en</dc:language></metadata>\n<manifest>\n" + manifest;
    if (epub3) {
        opf += "<item id=\"nav\" href=\"nav.xhtml\" media-type=\"application/xhtml+xml\" properties=\"nav\"/>\n"
               "</manifest>\n<spine>\n" + spine + "</spine>\n</package>\n";
        entries.push_back({"OEBPS/nav.xhtml",
                           "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" "
                           "xmlns:epub=\"http://www.idpf.org/2007/ops\"><head><title>Contents</title></head><body>"
                           "<nav epub:type=\"landmarks\"><ol><li><a href=\"" + chapters.front().file +
                           "\">Start here</a></li></ol></nav>"
                           "<nav epub:type=\"toc\"><h1>Contents</h1><ol>\n" + nav + "</ol></nav></body></html>\n"});
    } else {
        opf += "<item id=\"ncx\" href=\"toc.ncx\" media-type=\"application/x-dtbncx+xml\"/>\n"
               "</manifest>\n<spine toc=\"ncx\">\n" + spine + "</spine>\n</package>\n";
        entries.push_back({"OEBPS/toc.ncx", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                            "<ncx xmlns=\"http://www.daisy.org/z3986/2005/ncx/\" version=\"2005-1\">"
                                            "<docTitle><text>" + title + "</text></docTitle><navMap>\n" + ncx +
                                            "</navMap></ncx>\n"});
    }
    entries.push_back({"OEBPS/content.opf", opf});
    for (const EpubChapter& c : chapters)
        entries.push_back({"OEBPS/" + c.file, c.xhtml});
    return entries;
}
