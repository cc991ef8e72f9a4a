// versaleo-fuzz-seeds FOLDER: writes the seeds that only the program's own
// code can make into FOLDER/<harness>/: pictures through every codec plug-in,
// their DIB blocks, book files, library and favourites files. The rest of
// the seeds come from files in the tree (see make-seeds).
#include "EpubFixtures.h"
#include "book/BookFile.h"
#include "book/CVersaleoDoc.h"
#include "book/TextLayout.h"
#include "book/TextMeasurer.h"
#include "book/ZlibCodec.h"
#include "library/Favourites.h"
#include "library/LibraryFile.h"
#include "pixmill/Pixmill.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

bool writeFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

std::string blockBytes(HDIB dib)
{
    const auto* base = static_cast<const char*>(DibLock(dib));
    std::string bytes(base, DibSize(dib));
    DibUnlock(dib);
    return bytes;
}

// A small picture with a pattern, so codecs have more than one colour to
// write.
HDIB patternPicture(int width, int height)
{
    HDIB dib = CreateNewDIB(width, height, 0x00FFFFFF);
    HDIB stripe = CreateNewDIB(width / 2 + 1, height / 2 + 1, 0x00204080);
    if (dib && stripe)
        MergeDIB(&dib, width / 4, height / 4, stripe, width / 2 + 1, height / 2 + 1, 70);
    if (stripe)
        DibFree(stripe);
    return dib;
}

bool writePictures(const std::filesystem::path& folder)
{
    const std::filesystem::path scratch = folder / "scratch";
    std::filesystem::create_directories(scratch);
    std::vector<std::pair<std::string, HDIB>> pictures;
    pictures.emplace_back("colour", patternPicture(13, 7));
    pictures.emplace_back("dot", CreateNewDIB(1, 1, 0x000000FF));
    // A picture with a colour table: the GIF plug-in writes one, and reads it back.
    const std::string gif = (scratch / "palette.gif").string();
    if (pictures.front().second && SaveDIBToFile(pictures.front().second, gif.c_str()))
        pictures.emplace_back("palette", LoadDIBFromFile(gif.c_str()));
    HDIB grey = CloneDIB(pictures.front().second);
    if (grey && ChangeToGrayDIB(grey))
        pictures.emplace_back("grey", grey);
    bool ok = true;
    for (auto& [name, dib] : pictures) {
        if (!dib) {
            ok = false;
            continue;
        }
        writeFile(folder / "dib" / (name + ".dib"), blockBytes(dib));
        for (const char* extension : {"bmp", "jpg", "png", "gif", "tif"}) {
            const std::filesystem::path path = folder / (std::string("image_") + extension) / (name + "." + extension);
            std::filesystem::create_directories(path.parent_path());
            ok = SaveDIBToFile(dib, path.c_str()) && ok;
        }
        DibFree(dib);
    }
    std::filesystem::remove_all(scratch);
    return ok;
}

bool writeBook(const std::filesystem::path& folder)
{
    CVersaleoDoc doc;
    doc.setMeasurerFactory([](const LOGFONT&) { return std::make_shared<FixedMeasurer>(); });
    const std::string text =
        "Chapter 1\r\nA short text laid out into pages, with a heading the chapter finder takes.\r\n"
        "\xC4\xE3\xBA\xC3\xA3\xAC\xCA\xC0\xBD\xE7\r\nChapter 2\r\nThe end.\r\n";
    layout::importSource(doc, layout::SourceText(text), "Caption", "Title", *doc.bookMeasurer(), true);
    const std::optional<std::string> bytes = bookfile::encode(doc);
    return bytes && writeFile(folder / "bookfile" / "small.vl", *bytes);
}

bool writeLibrary(const std::filesystem::path& folder)
{
    CCabinet cabinet;
    cabinet.name = "Classics";
    cabinet.creator = "Reader";
    cabinet.createYear = 2008;
    cabinet.createMonth = 5;
    cabinet.createDay = 17;
    CCabinetBook book;
    book.fileName = "book1.txt";
    book.bookName = "Journey & \"more\"";
    book.author = "\xCD\xF5";
    cabinet.books.push_back(book);
    const std::string xml = libraryfile::serialize({cabinet, CCabinet{}});
    return !xml.empty() && writeFile(folder / "library" / "library.xml", xml);
}

bool writeFavourites(const std::filesystem::path& folder)
{
    const std::string xml =
        favourites::serialize({"https://example.org/a?b=c&d=e", "file:///tmp/page.html", "\xCD\xF5 <page>"});
    return writeFile(folder / "favourites" / "favorite.xml", xml);
}

// A PDF of Flate streams as the scanner reads them, and one printed by Qt's
// PDF writer as the program prints, for the poppler helper.
bool writePdfs(const std::filesystem::path& folder)
{
    std::string pdf = "%PDF-1.4\n";
    int object = 1;
    for (const std::string content : {"BT /F1 12 Tf (Hello \\(world\\)) Tj 0 14 TD [(Ker) -250 (ned)] TJ ET\n",
                                      "BT <48656C6C6F> Tj T* (\\101\\102) ' ET\n"}) {
        const auto packed = zcodec::compress(content.data(), content.size());
        if (!packed)
            return false;
        pdf += std::to_string(object++) + " 0 obj\n<< /Length " + std::to_string(packed->size()) +
               " /Filter /FlateDecode >>\nstream\r\n" + *packed + "\r\nendstream\nendobj\n";
    }
    pdf += "trailer\n%%EOF\n";
    bool ok = writeFile(folder / "pdf" / "streams.pdf", pdf);
    const std::filesystem::path printed = folder / "pdfhelper" / "printed.pdf";
    std::filesystem::create_directories(printed.parent_path());
    {
        QPdfWriter writer(QString::fromStdString(printed.string()));
        writer.setResolution(72);
        writer.setCompressionEnabled(false);
        QPainter painter(&writer);
        painter.drawText(20, 40, QStringLiteral("Page one, a line of text."));
        writer.newPage();
        painter.drawText(20, 40, QStringLiteral("Page two."));
    }
    ok = std::filesystem::copy_file(printed, folder / "pdf" / "printed.pdf",
                                    std::filesystem::copy_options::overwrite_existing) && ok;
    return writeFile(folder / "pdfhelper" / "streams.pdf", pdf) && ok;
}

bool writeEpubs(const std::filesystem::path& folder)
{
    const std::vector<EpubChapter> chapters = {
        {"one.xhtml", "One", xhtmlPage("One", {"First <b>paragraph</b>.", "Second&#160;one<br/>broken."})},
        {"two.xhtml", "Two", xhtmlPage("Two", {"<pre>  kept   blanks</pre>", "\xE4\xBD\xA0\xE5\xA5\xBD"})},
    };
    std::filesystem::create_directories(folder / "epub");
    return writeZip((folder / "epub" / "epub3.epub").string(), epubEntries("A Book", chapters, true)) &
           writeZip((folder / "epub" / "epub2.epub").string(), epubEntries("A Book", chapters, false));
}

// A skin archive of a few pictures under the names the program loads.
bool writeSkin(const std::filesystem::path& folder)
{
    const auto read = [](const std::filesystem::path& path) {
        std::string bytes;
        if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
            char buffer[4096];
            for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
                bytes.append(buffer, got);
            std::fclose(file);
        }
        return bytes;
    };
    const std::string colour = read(folder / "image_bmp" / "colour.bmp");
    const std::string palette = read(folder / "image_bmp" / "palette.bmp");
    if (colour.empty() || palette.empty())
        return false;
    std::filesystem::create_directories(folder / "skin");
    return writeZip((folder / "skin" / "style.data").string(),
                    {{"add_u.bmp", colour}, {"add_f.bmp", palette}, {"doctype.bmp", colour}, {"menu_check.bmp", palette}});
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: versaleo-fuzz-seeds FOLDER\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const std::filesystem::path folder = argv[1];
    const bool ok = writePictures(folder) & writeBook(folder) & writeLibrary(folder) & writeFavourites(folder) &
                    writePdfs(folder) & writeEpubs(folder) & writeSkin(folder);
    return ok ? 0 : 1;
}
