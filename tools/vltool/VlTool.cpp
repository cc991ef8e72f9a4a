#include "VlTool.h"

#include "BookJson.h"

#include "book/BookFile.h"
#include "book/CVersaleoDoc.h"
#include "book/Encodings.h"
#include "book/Importers.h"
#include "library/DocumentPictures.h"
#include "library/ProgramFolder.h"
#include "library/Settings.h"
#include "views/FontMetrics.h"
#include "views/SpreadPainter.h"

#include "versaleo/Version.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

namespace {

constexpr const char* kUsage =
    "usage: vltool convert [OPENING...] [--metrics fixed] [--encoding auto|CODE] -o OUT.vl INPUT...\n"
    "       vltool dump [OPENING...] [--metrics fixed] [--encoding auto|CODE] INPUT...\n"
    "       vltool render [OPENING...] [--metrics fixed] [--encoding auto|CODE] [--page N] [--one-page]\n"
    "                     [--size WxH] -o OUT.png INPUT...\n"
    "  OPENING: --no-index --no-bookmark --no-chapters (no entries for chapter headings of texts)\n"
    "           --progress (how far each file has got, on stderr)\n"
    "  CODE: read as 0 GB2312, 1 Big5, 2 UTF-8, 3 ANSI, 4 Shift_JIS; convert 100 Big5 to GB2312,\n"
    "        101 Big5 to GBK, 102 GBK to GB2312, 103 GBK to Big5, 104 GB2312 to Big5, 105 GB2312 to GBK\n";

constexpr const char* kCommands =
    "\n"
    "  convert  opens the inputs as the reader's Open command does and saves the book to OUT.vl\n"
    "  dump     prints the opened book as JSON: windows, pages, lines, marks, index entries\n"
    "  render   paints the open spread (or one page) of the opened book to OUT.png\n"
    "  --metrics fixed  measures every character as one fixed width, the same on every machine\n"
    "  --page N         the page to open the book at (render)\n"
    "  --one-page       the one-page view instead of the two-page spread (render)\n"
    "  --size WxH       the view's size in pixels, 200 to 8000 each way (render; default 960x640)\n"
    "  --help           this text (alone)\n"
    "  --version        the version (alone)\n"
    "\n"
    "Inputs: .vl books, plain text (.txt), web pages (.htm, .html), compiled HTML help (.chm),\n"
    "PDF, EPUB, and Word or office documents (.doc, .docx, .odt, .rtf, .wps, .wpd) through\n"
    "LibreOffice.\n"
    "The program's data (skin, pictures) is taken from VERSALEO_HOME when that is set, else\n"
    "from the user's data folder (see versaleo(1)).\n"
    "Exit status: 0 success, 1 nothing opened or the output not written, 2 a usage error.\n";

struct Options {
    std::string command;
    bool needIndex = true;
    bool needBookmark = true;
    bool detectChapters = true;
    bool progress = false;
    bool fixedMetrics = false;
    std::string output;
    int encoding = -1;
    int page = -1;
    bool onePage = false;
    int width = 960;
    int height = 640;
    std::vector<std::string> inputs;
};

// Parses the arguments; false for a usage error.
bool parse(const std::vector<std::string>& args, Options& options)
{
    if (args.empty() || (args[0] != "convert" && args[0] != "dump" && args[0] != "render"))
        return false;
    options.command = args[0];
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--no-index") {
            options.needIndex = false;
        } else if (arg == "--no-bookmark") {
            options.needBookmark = false;
        } else if (arg == "--no-chapters") {
            options.detectChapters = false;
        } else if (arg == "--progress") {
            options.progress = true;
        } else if (arg == "--metrics") {
            if (++i >= args.size() || args[i] != "fixed")
                return false;
            options.fixedMetrics = true;
        } else if (arg == "--encoding") {
            if (i + 1 < args.size() && args[i + 1] == "auto") {
                // What opening does anyway: the encoding found in each text.
                options.encoding = -1;
                ++i;
                continue;
            }
            if (++i >= args.size() || !encoding::findEncoding(std::atoi(args[i].c_str())) ||
                args[i].find_first_not_of("0123456789") != std::string::npos)
                return false;
            options.encoding = std::atoi(args[i].c_str());
        } else if (arg == "--page" && options.command == "render") {
            if (++i >= args.size() || args[i].empty() || args[i].find_first_not_of("0123456789") != std::string::npos)
                return false;
            options.page = std::atoi(args[i].c_str());
        } else if (arg == "--one-page" && options.command == "render") {
            options.onePage = true;
        } else if (arg == "--size" && options.command == "render") {
            int w = 0, h = 0;
            char extra = 0;
            if (++i >= args.size() || std::sscanf(args[i].c_str(), "%dx%d%c", &w, &h, &extra) != 2 || w < 200 ||
                h < 200 || w > 8000 || h > 8000)
                return false;
            options.width = w;
            options.height = h;
        } else if (arg == "-o" && options.command != "dump") {
            if (++i >= args.size() || !options.output.empty())
                return false;
            options.output = args[i];
        } else if (arg.starts_with("-") && arg.size() > 1) {
            return false;
        } else {
            options.inputs.push_back(arg);
        }
    }
    if (options.inputs.empty())
        return false;
    return options.command == "dump" || !options.output.empty();
}

void ensureGuiApplication()
{
    if (QGuiApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        // Where Qt would go anyway, made first so it does not warn about it.
        const QByteArray runtime = QDir::tempPath().toLocal8Bit() + "/runtime-" + QByteArray::number(::geteuid());
        ::mkdir(runtime.constData(), 0700);
        qputenv("XDG_RUNTIME_DIR", runtime);
    }
    static int argc = 1;
    static char name[] = "vltool";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    installFontSubstitutions();
}

// What a view of the client size shows: the two-page view's spread, or the
// one-page view's wider spread at the scroll offset of the current page.
bool render(CVersaleoDoc& doc, const Options& options, std::ostream& err)
{
    ensureGuiApplication();
    const int last = doc.pageCount() - 1;
    doc.currentPage = options.page >= 0 ? std::min(options.page, last) : std::clamp(doc.firstContentPage(), 0, last);
    DocumentPictures pictures(pictureFolder());
    pictures.loadFromSettings(SettingsStore().read());
    SpreadPainter painter(doc, pictures);
    PaintOptions paint;
    paint.wideLines = options.onePage;
    const int spreadWidth = options.onePage ? 2 * options.width - 80 : options.width;
    QImage spread(spreadWidth, options.height, QImage::Format_RGB32);
    painter.compose(spread, paint);
    const int offset = options.onePage && doc.currentPage % 2 == 0 ? options.width - 80 : 0;
    QImage client = spread.copy(offset, 0, options.width, options.height);
    {
        QPainter frame(&client);
        frame.setPen(Qt::black);
        frame.drawRect(0, 0, options.width - 1, options.height - 1);
    }
    if (!client.save(QString::fromStdString(options.output), "PNG")) {
        err << "vltool: cannot save " << options.output << "\n";
        return false;
    }
    return true;
}

class StderrNotifier : public DocumentNotifier {
public:
    explicit StderrNotifier(std::ostream& err) : m_err(err) {}
    void showMessage(DocMessage message) override
    {
        m_err << "vltool: " << messageText(message) << "\n";
        ++messages;
    }
    void showFileMessage(DocMessage message, const std::string& path) override
    {
        m_err << "vltool: " << fileMessageText(message, path) << "\n";
        ++messages;
    }
    int messages = 0;

private:
    std::ostream& m_err;
};

// "vltool: opening NAME", then a line at every tenth of the way.
class StderrProgress : public ImportProgress {
public:
    explicit StderrProgress(std::ostream& err) : m_err(err) {}
    void begin(const std::string& path) override
    {
        m_path = path;
        m_tenths = 0;
        m_err << "vltool: opening " << path << "\n";
    }
    bool update(double done) override
    {
        const int tenths = static_cast<int>(done * 10);
        if (done >= 0 && tenths > m_tenths && tenths <= 10) {
            m_tenths = tenths;
            m_err << "vltool: " << m_path << " " << tenths * 10 << "%\n";
        }
        return true;
    }
    void end() override {}

private:
    std::ostream& m_err;
    std::string m_path;
    int m_tenths = 0;
};

MeasurerFactory makeMeasurers(bool fixed)
{
    if (fixed)
        return [](const LOGFONT&) { return std::make_shared<FixedMeasurer>(); };
    // Real fonts need the platform's font database; no display is needed.
    ensureGuiApplication();
    return [](const LOGFONT& font) { return std::make_shared<QtTextMeasurer>(font); };
}

}  // namespace

int runVlTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << "vltool: makes and inspects Versaleo books without a window.\n" << kUsage << kCommands;
        return 0;
    }
    if (args.size() == 1 && args[0] == "--version") {
        out << "vltool " << VERSALEO_VERSION << '\n';
        return 0;
    }
    Options options;
    if (!parse(args, options)) {
        err << kUsage;
        return 2;
    }

    CVersaleoDoc doc;
    doc.needIndex = options.needIndex ? 1 : 0;
    doc.needBookmark = options.needBookmark ? 1 : 0;
    doc.detectChapters = options.detectChapters ? 1 : 0;
    StderrNotifier notifier(err);
    doc.setNotifier(&notifier);
    StderrProgress progress(err);
    if (options.progress)
        doc.setProgress(&progress);
    doc.setMeasurerFactory(makeMeasurers(options.fixedMetrics));
    registerStandardImporters(doc);

    doc.openPaths(options.inputs);
    if (notifier.messages > 0)
        return 1;
    if (options.encoding >= 0)
        encoding::reencode(doc, options.encoding);
    if (!doc.modified) {
        err << "vltool: nothing could be opened\n";
        return 1;
    }
    if (options.command == "dump") {
        out << bookJson(doc);
        return 0;
    }
    if (options.command == "render")
        return render(doc, options, err) ? 0 : 1;
    if (!bookfile::save(doc, options.output)) {
        err << "vltool: cannot save " << options.output << "\n";
        return 1;
    }
    return 0;
}
