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
#include <cstring>
#include <algorithm>
#include <filesystem>
#include <map>
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

// A bottom-up DIB of `bits` per pixel with a colour table of four colours
// (two for one bit), its pixels cycling through them.
HDIB palettePicture(uint32_t width, uint32_t height, uint16_t bits)
{
    const uint32_t colours = bits == 1 ? 2 : 4;
    const uint32_t stride = (width * bits + 31) / 32 * 4;
    const size_t size = 40 + colours * 4 + size_t{stride} * height;
    HDIB dib = DibAlloc(size);
    if (!dib)
        return nullptr;
    auto* base = static_cast<uint8_t*>(DibLock(dib));
    const uint32_t header[10] = {40, width, height, 1u | (uint32_t{bits} << 16), 0, stride * height, 0, 0, colours, 0};
    std::memcpy(base, header, sizeof header);
    const uint32_t table[4] = {0x00FFFFFF, 0x00000000, 0x00FF0000, 0x000080FF};
    std::memcpy(base + 40, table, colours * 4);
    uint8_t* pixels = base + 40 + colours * 4;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t index = (x + y) % colours, bit = x * bits;
            pixels[y * stride + bit / 8] |= static_cast<uint8_t>(index << (8 - bits - bit % 8));
        }
    }
    DibUnlock(dib);
    return dib;
}

bool writePictures(const std::filesystem::path& folder)
{
    std::vector<std::pair<std::string, HDIB>> pictures;
    pictures.emplace_back("colour", patternPicture(13, 7));
    pictures.emplace_back("dot", CreateNewDIB(1, 1, 0x000000FF));
    // Pictures with a colour table, the only kind the GIF plug-in writes.
    for (const uint16_t bits : {1, 4, 8})
        pictures.emplace_back("palette" + std::to_string(bits), palettePicture(11, 5, bits));
    const char* const extensions[] = {"bmp", "jpg", "png", "gif", "tif"};
    std::map<std::string, int> written;
    for (auto& [name, dib] : pictures) {
        if (!dib)
            return false;
        writeFile(folder / "dib" / (name + ".dib"), blockBytes(dib));
        for (const char* extension : extensions) {
            const std::filesystem::path path = folder / (std::string("image_") + extension) / (name + "." + extension);
            std::filesystem::create_directories(path.parent_path());
            written[extension] += SaveDIBToFile(dib, path.c_str());
        }
        DibFree(dib);
    }
    // A plug-in may refuse some kinds of picture, never all of them.
    return std::all_of(std::begin(extensions), std::end(extensions),
                       [&written](const char* extension) { return written[extension] > 0; });
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
    const bool epub3 = writeZip((folder / "epub" / "epub3.epub").string(), epubEntries("A Book", chapters, true));
    const bool epub2 = writeZip((folder / "epub" / "epub2.epub").string(), epubEntries("A Book", chapters, false));
    return epub3 && epub2;
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
    const std::string palette = read(folder / "image_bmp" / "palette8.bmp");
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
    // Every kind is written even when one fails; any failure fails the run.
    int failures = 0;
    for (bool (*write)(const std::filesystem::path&) :
         {writePictures, writeBook, writeLibrary, writeFavourites, writePdfs, writeEpubs, writeSkin}) {
        if (!write(folder))
            ++failures;
    }
    return failures == 0 ? 0 : 1;
}
