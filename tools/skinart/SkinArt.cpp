// versaleo-skin: draws every picture of the skin and packs them into
// "style.data" (a zip archive of BMP files) at build time.
//
//   versaleo-skin OUT/style.data
//
// One theme throughout: lilac, rounded and softly shaded buttons with plum
// glyphs, lighter when the mouse is over them, sunk when pressed, grey when
// disabled.
#include "style/CStyle.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <zip.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

enum class State { Normal, Focused, Pressed, Disabled };

const QColor kPlum(88, 30, 96);

QColor glyphColour(State state)
{
    return state == State::Disabled ? QColor(150, 140, 150) : kPlum;
}

// A glyph drawn into a 16 x 16 box at the origin (the painter is scaled).
using Glyph = std::function<void(QPainter&, QColor)>;

void pen(QPainter& p, QColor c, double width = 1.6)
{
    p.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
}

void fill(QPainter& p, QColor c)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
}

void page(QPainter& p, QRectF r, QColor c)
{
    pen(p, c, 1.2);
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawRect(r);
}

void lines(QPainter& p, QRectF r, int count, QColor c)
{
    pen(p, c, 1);
    for (int i = 0; i < count; ++i) {
        const double y = r.top() + (i + 1) * r.height() / (count + 1);
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    }
}

void triangle(QPainter& p, QPointF a, QPointF b, QPointF c, QColor colour)
{
    fill(p, colour);
    p.drawPolygon(QPolygonF({a, b, c}));
}

std::map<std::string, Glyph> glyphs()
{
    std::map<std::string, Glyph> g;
    g["add"] = [](QPainter& p, QColor c) { pen(p, c, 2.2); p.drawLine(QPointF(4, 8), QPointF(12, 8)); p.drawLine(QPointF(8, 4), QPointF(8, 12)); };
    g["subtract"] = [](QPainter& p, QColor c) { pen(p, c, 2.2); p.drawLine(QPointF(4, 8), QPointF(12, 8)); };
    g["exit"] = [](QPainter& p, QColor c) { pen(p, c, 2); p.drawLine(QPointF(4.5, 4.5), QPointF(11.5, 11.5)); p.drawLine(QPointF(11.5, 4.5), QPointF(4.5, 11.5)); };
    g["max"] = [](QPainter& p, QColor c) { pen(p, c, 1.6); p.drawRect(QRectF(3.5, 3.5, 9, 9)); p.drawLine(QPointF(3.5, 5), QPointF(12.5, 5)); };
    g["normal"] = [](QPainter& p, QColor c) { pen(p, c, 1.4); p.drawRect(QRectF(5.5, 3.5, 7, 7)); p.drawRect(QRectF(3.5, 5.5, 7, 7)); };
    g["min"] = [](QPainter& p, QColor c) { pen(p, c, 2.2); p.drawLine(QPointF(4, 11.5), QPointF(12, 11.5)); };
    g["prev"] = [](QPainter& p, QColor c) { triangle(p, {11.5, 3}, {11.5, 13}, {3.5, 8}, c); };
    g["next"] = [](QPainter& p, QColor c) { triangle(p, {4.5, 3}, {4.5, 13}, {12.5, 8}, c); };
    g["stop"] = [](QPainter& p, QColor c) { fill(p, c); p.drawRoundedRect(QRectF(4, 4, 8, 8), 1.5, 1.5); };
    g["one"] = [](QPainter& p, QColor c) { page(p, QRectF(4.5, 2.5, 7, 11), c); lines(p, QRectF(6, 3, 4, 10), 4, c); };
    g["two"] = [](QPainter& p, QColor c) {
        page(p, QRectF(1.5, 3.5, 6.5, 10), c); page(p, QRectF(8, 3.5, 6.5, 10), c);
        lines(p, QRectF(2.8, 4, 4, 9), 4, c); lines(p, QRectF(9.3, 4, 4, 9), 4, c);
    };
    g["full"] = [](QPainter& p, QColor c) {
        pen(p, c, 1.6);
        for (const QPointF corner : {QPointF(3, 3), QPointF(13, 3), QPointF(3, 13), QPointF(13, 13)}) {
            const double sx = corner.x() < 8 ? 1 : -1, sy = corner.y() < 8 ? 1 : -1;
            p.drawLine(corner, corner + QPointF(sx * 4, 0));
            p.drawLine(corner, corner + QPointF(0, sy * 4));
        }
    };
    g["tag"] = [](QPainter& p, QColor c) {
        QPainterPath tag;
        tag.moveTo(2.5, 5); tag.lineTo(9, 5); tag.lineTo(13.5, 8); tag.lineTo(9, 11); tag.lineTo(2.5, 11); tag.closeSubpath();
        pen(p, c, 1.3); p.setBrush(QColor(255, 246, 160)); p.drawPath(tag);
        fill(p, c); p.drawEllipse(QPointF(9.5, 8), 1.1, 1.1);
    };
    g["mark"] = [](QPainter& p, QColor c) {
        fill(p, QColor(150, 240, 150)); p.drawRect(QRectF(2, 9, 12, 4));
        pen(p, c, 1.2); p.drawLine(QPointF(2, 7), QPointF(14, 7)); p.drawLine(QPointF(2, 10.5), QPointF(11, 10.5));
        fill(p, c); p.drawPolygon(QPolygonF({QPointF(10, 2), QPointF(13, 3), QPointF(9, 9), QPointF(7.5, 8)}));
    };
    g["index"] = [](QPainter& p, QColor c) {
        pen(p, c, 1.3);
        for (int i = 0; i < 4; ++i) {
            const double y = 3.5 + i * 3;
            p.drawEllipse(QPointF(3.5, y), 0.6, 0.6);
            p.drawLine(QPointF(6, y), QPointF(13, y));
        }
    };
    g["bookmark"] = [](QPainter& p, QColor c) {
        QPainterPath ribbon;
        ribbon.moveTo(4.5, 2); ribbon.lineTo(11.5, 2); ribbon.lineTo(11.5, 14); ribbon.lineTo(8, 10.5); ribbon.lineTo(4.5, 14); ribbon.closeSubpath();
        pen(p, c, 1.2); p.setBrush(QColor(236, 90, 110)); p.drawPath(ribbon);
    };
    g["note"] = [](QPainter& p, QColor c) {
        page(p, QRectF(3.5, 2.5, 9, 11), c); lines(p, QRectF(5, 3, 6, 10), 4, c);
        pen(p, c, 1.2); for (double y : {2.5, 5.0}) p.drawLine(QPointF(3.5, y + 0.0), QPointF(3.5, y));
        fill(p, c); for (int i = 0; i < 3; ++i) p.drawEllipse(QPointF(5.5 + i * 2.5, 2.5), 0.8, 0.8);
    };
    g["book"] = [](QPainter& p, QColor c) {
        QPainterPath open;
        open.moveTo(8, 4.5); open.cubicTo(6, 3, 3.5, 3, 1.5, 4); open.lineTo(1.5, 13); open.cubicTo(3.5, 12, 6, 12, 8, 13.5);
        open.cubicTo(10, 12, 12.5, 12, 14.5, 13); open.lineTo(14.5, 4); open.cubicTo(12.5, 3, 10, 3, 8, 4.5); open.closeSubpath();
        pen(p, c, 1.2); p.setBrush(QColor(255, 255, 255, 210)); p.drawPath(open);
        p.drawLine(QPointF(8, 4.5), QPointF(8, 13.5));
    };
    g["file"] = [](QPainter& p, QColor c) {
        QPainterPath folder;
        folder.moveTo(1.5, 4); folder.lineTo(6, 4); folder.lineTo(7.5, 5.5); folder.lineTo(14.5, 5.5); folder.lineTo(14.5, 13);
        folder.lineTo(1.5, 13); folder.closeSubpath();
        pen(p, c, 1.2); p.setBrush(QColor(250, 214, 120)); p.drawPath(folder);
    };
    g["save"] = [](QPainter& p, QColor c) {
        pen(p, c, 1.2); p.setBrush(QColor(140, 170, 230)); p.drawRoundedRect(QRectF(2.5, 2.5, 11, 11), 1, 1);
        fill(p, QColor(255, 255, 255)); p.drawRect(QRectF(5, 3, 6, 4));
        fill(p, c); p.drawRect(QRectF(5, 9.5, 6, 3.5));
    };
    g["print"] = [](QPainter& p, QColor c) {
        page(p, QRectF(4.5, 1.5, 7, 5), c);
        pen(p, c, 1.2); p.setBrush(QColor(200, 190, 210)); p.drawRoundedRect(QRectF(1.5, 6, 13, 6), 1.5, 1.5);
        page(p, QRectF(4.5, 10, 7, 4.5), c);
    };
    g["cabinet"] = [](QPainter& p, QColor c) {
        pen(p, c, 1.2); p.setBrush(QColor(190, 140, 100)); p.drawRect(QRectF(3, 1.5, 10, 13));
        for (double y : {5.8, 10.1}) p.drawLine(QPointF(3, y), QPointF(13, y));
        fill(p, c); for (double y : {3.7, 8.0, 12.3}) p.drawRect(QRectF(6.5, y - 0.6, 3, 1.2));
    };
    g["ground"] = [](QPainter& p, QColor c) {
        pen(p, c, 1.2); p.setBrush(QColor(180, 220, 250)); p.drawRect(QRectF(1.5, 3, 13, 10));
        fill(p, QColor(90, 160, 90)); p.drawPolygon(QPolygonF({QPointF(2, 12.5), QPointF(6, 7), QPointF(9, 10.5), QPointF(11, 8.5), QPointF(14, 12.5)}));
        fill(p, QColor(250, 200, 60)); p.drawEllipse(QPointF(11, 5.8), 1.4, 1.4);
    };
    g["music"] = [](QPainter& p, QColor c) {
        fill(p, c); p.drawEllipse(QPointF(5, 12), 2.4, 1.8); p.drawEllipse(QPointF(11.5, 10.5), 2.4, 1.8);
        pen(p, c, 1.4); p.drawLine(QPointF(7.2, 12), QPointF(7.2, 3)); p.drawLine(QPointF(13.7, 10.5), QPointF(13.7, 1.8));
        pen(p, c, 2.2); p.drawLine(QPointF(7.2, 3), QPointF(13.7, 1.8));
    };
    g["time"] = [](QPainter& p, QColor c) {
        pen(p, c, 1.3); p.setBrush(QColor(255, 255, 255, 210)); p.drawEllipse(QPointF(8, 8), 6, 6);
        p.drawLine(QPointF(8, 8), QPointF(8, 4)); p.drawLine(QPointF(8, 8), QPointF(11, 9.5));
    };
    g["search"] = [](QPainter& p, QColor c) {
        pen(p, c, 1.6); p.setBrush(QColor(220, 240, 255, 200)); p.drawEllipse(QPointF(6.5, 6.5), 4, 4);
        pen(p, c, 2.6); p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
    };
    g["web"] = [](QPainter& p, QColor c) {
        pen(p, c, 1.1); p.setBrush(QColor(150, 200, 250)); p.drawEllipse(QPointF(8, 8), 6, 6);
        p.drawEllipse(QPointF(8, 8), 2.6, 6); p.drawLine(QPointF(2, 8), QPointF(14, 8));
        p.drawLine(QPointF(3, 5), QPointF(13, 5)); p.drawLine(QPointF(3, 11), QPointF(13, 11));
    };
    g["envset"] = [](QPainter& p, QColor c) {
        fill(p, c);
        for (int i = 0; i < 8; ++i) {
            p.save(); p.translate(8, 8); p.rotate(i * 45); p.drawRect(QRectF(-1.3, -7, 2.6, 3)); p.restore();
        }
        p.drawEllipse(QPointF(8, 8), 4.8, 4.8);
        fill(p, QColor(235, 215, 240)); p.drawEllipse(QPointF(8, 8), 1.9, 1.9);
    };
    g["help"] = [](QPainter& p, QColor c) {
        pen(p, c, 2);
        QPainterPath hook;
        hook.moveTo(5, 5.5); hook.cubicTo(5, 2, 11, 2, 11, 5.5); hook.cubicTo(11, 8, 8, 7.5, 8, 10.5);
        p.drawPath(hook);
        fill(p, c); p.drawEllipse(QPointF(8, 13.3), 1.2, 1.2);
    };
    g["doctype"] = g["book"];
    // menu glyphs
    g["prevpage_menu"] = g["prev"];
    g["nextpage_menu"] = g["next"];
    g["menu_check"] = [](QPainter& p, QColor c) { pen(p, c, 2.2); p.drawPolyline(QPolygonF({QPointF(3.5, 8.5), QPointF(6.5, 11.5), QPointF(12.5, 4.5)})); };
    g["onepage_menu"] = g["one"];
    g["twopage_menu"] = g["two"];
    g["full_menu"] = g["full"];
    g["clip_menu"] = [](QPainter& p, QColor c) {
        p.setPen(QPen(c, 1.2, Qt::DashLine)); p.setBrush(Qt::NoBrush); p.drawRect(QRectF(2.5, 3.5, 11, 9));
    };
    g["window_menu"] = [](QPainter& p, QColor c) {
        pen(p, c, 1.2); p.setBrush(QColor(255, 255, 255, 200)); p.drawRect(QRectF(2.5, 3.5, 11, 9));
        fill(p, c); p.drawRect(QRectF(2.5, 3.5, 11, 2.5));
    };
    const auto curl = [](bool left) {
        return [left](QPainter& p, QColor c) {
            pen(p, c, 1.6);
            QPainterPath arc;
            const double s = left ? -1 : 1;
            arc.moveTo(8 - s * 5, 11); arc.cubicTo(8 - s * 4, 4, 8 + s * 3, 4, 8 + s * 4.5, 8);
            p.drawPath(arc);
            triangle(p, QPointF(8 + s * 6.5, 6.5), QPointF(8 + s * 4.5, 10.5), QPointF(8 + s * 2.3, 7.2), c);
        };
    };
    g["flipleft_menu"] = curl(true);
    g["flipright_menu"] = curl(false);
    g["jump_menu"] = [](QPainter& p, QColor c) {
        pen(p, c, 1.6); p.drawLine(QPointF(2, 8), QPointF(10, 8));
        triangle(p, QPointF(9, 4.5), QPointF(9, 11.5), QPointF(13, 8), c);
        pen(p, c, 1.6); p.drawLine(QPointF(14, 3), QPointF(14, 13));
    };
    g["tag_menu"] = g["tag"];
    g["mark_menu"] = g["mark"];
    g["index_menu"] = g["index"];
    g["bookmark_menu"] = g["bookmark"];
    g["note_menu"] = g["note"];
    g["book_menu"] = g["book"];
    g["copy_menu"] = [](QPainter& p, QColor c) { page(p, QRectF(2.5, 2.5, 7, 9), c); page(p, QRectF(6.5, 5.5, 7, 9), c); };
    g["cut_menu"] = [](QPainter& p, QColor c) {
        pen(p, c, 1.3); p.drawEllipse(QPointF(4.5, 12), 2.2, 2.2); p.drawEllipse(QPointF(11.5, 12), 2.2, 2.2);
        p.drawLine(QPointF(6, 10.5), QPointF(11, 2)); p.drawLine(QPointF(10, 10.5), QPointF(5, 2));
    };
    g["paste_menu"] = [](QPainter& p, QColor c) {
        pen(p, c, 1.2); p.setBrush(QColor(210, 170, 120)); p.drawRoundedRect(QRectF(3, 3, 10, 11.5), 1, 1);
        page(p, QRectF(5, 5.5, 6, 7.5), c); fill(p, c); p.drawRect(QRectF(6, 1.8, 4, 2.4));
    };
    g["delete_menu"] = [](QPainter& p, QColor c) {
        pen(p, QColor(200, 40, 60), 2.2); p.drawLine(QPointF(4, 4), QPointF(12, 12)); p.drawLine(QPointF(12, 4), QPointF(4, 12));
        (void)c;
    };
    g["file_menu"] = g["file"];
    g["save_menu"] = g["save"];
    g["print_menu"] = g["print"];
    g["exit_menu"] = [](QPainter& p, QColor c) {
        pen(p, c, 1.3); p.drawRect(QRectF(2.5, 2.5, 7, 11));
        pen(p, c, 1.6); p.drawLine(QPointF(7, 8), QPointF(13, 8));
        triangle(p, QPointF(11.5, 5.5), QPointF(11.5, 10.5), QPointF(14.5, 8), c);
    };
    g["select_text_menu"] = [](QPainter& p, QColor c) {
        fill(p, QColor(150, 190, 250)); p.drawRect(QRectF(5, 4, 9, 8));
        pen(p, c, 1.3); p.drawLine(QPointF(4, 2.5), QPointF(4, 13.5));
        p.drawLine(QPointF(2.5, 2.5), QPointF(5.5, 2.5)); p.drawLine(QPointF(2.5, 13.5), QPointF(5.5, 13.5));
    };
    return g;
}

// A rounded, shaded button face with an optional glyph in a square in its middle.
QImage buttonFace(QSize size, State state, const Glyph* glyph)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(239, 205, 224));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF face = QRectF(image.rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = std::min(size.width(), size.height()) * 0.28;
    QLinearGradient shade(0, 0, 0, size.height());
    switch (state) {
    case State::Normal:
        shade.setColorAt(0, QColor(252, 236, 252));
        shade.setColorAt(1, QColor(222, 170, 232));
        break;
    case State::Focused:
        shade.setColorAt(0, QColor(255, 248, 255));
        shade.setColorAt(1, QColor(238, 196, 246));
        break;
    case State::Pressed:
        shade.setColorAt(0, QColor(200, 150, 214));
        shade.setColorAt(1, QColor(236, 200, 242));
        break;
    case State::Disabled:
        shade.setColorAt(0, QColor(236, 232, 236));
        shade.setColorAt(1, QColor(214, 208, 216));
        break;
    }
    p.setPen(QPen(state == State::Focused ? QColor(170, 80, 190) : QColor(150, 100, 160), state == State::Focused ? 1.4 : 1));
    p.setBrush(shade);
    p.drawRoundedRect(face, radius, radius);
    // A soft highlight along the top.
    if (state != State::Pressed) {
        p.setPen(QPen(QColor(255, 255, 255, 160), 1));
        p.drawLine(QPointF(radius, 1.5), QPointF(size.width() - radius, 1.5));
    }
    if (glyph) {
        const double side = std::min(size.width(), size.height()) * 0.8;
        p.translate((size.width() - side) / 2 + (state == State::Pressed ? 1 : 0),
                    (size.height() - side) / 2 + (state == State::Pressed ? 1 : 0));
        p.scale(side / 16, side / 16);
        (*glyph)(p, glyphColour(state));
    }
    return image;
}

QImage menuPicture(bool highlighted, const Glyph& glyph)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(highlighted ? QColor(222, 170, 232) : QColor(252, 240, 250));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    glyph(p, highlighted ? QColor(60, 10, 70) : kPlum);
    return image;
}

QByteArray bmpBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: versaleo-skin OUT/style.data\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const auto g = glyphs();
    std::vector<std::pair<std::string, QImage>> pictures;
    const std::map<std::string, QSize> sizes = {{"big_btn", {100, 24}}, {"middle_btn", {60, 20}}, {"small_btn", {30, 20}},
                                                {"exit", {16, 16}},     {"max", {16, 16}},        {"normal", {16, 16}},
                                                {"min", {16, 16}},      {"add", {16, 16}},        {"subtract", {16, 16}}};
    const auto addSet = [&](const char* name) {
        const auto size = sizes.count(name) ? sizes.at(name) : QSize(32, 32);
        const auto glyph = g.find(name);
        const Glyph* drawn = glyph == g.end() ? nullptr : &glyph->second;
        pictures.emplace_back(std::string(name) + "_u", buttonFace(size, State::Normal, drawn));
        pictures.emplace_back(std::string(name) + "_f", buttonFace(size, State::Focused, drawn));
        pictures.emplace_back(std::string(name) + "_d", buttonFace(size, State::Pressed, drawn));
        pictures.emplace_back(std::string(name) + "_x", buttonFace(size, State::Disabled, drawn));
    };
    const auto addPair = [&](const char* name) {
        const Glyph& glyph = g.at(name);
        pictures.emplace_back(name, menuPicture(false, glyph));
        pictures.emplace_back(std::string(name) + "_s", menuPicture(true, glyph));
    };
#define SKIN_SET(name) addSet(#name);
#define SKIN_PAIR(name) addPair(#name);
    STYLE_FIRST_BUTTON_SETS(SKIN_SET)
    pictures.emplace_back("doctype", buttonFace({32, 32}, State::Normal, &g.at("doctype")));
    STYLE_BUTTON_SETS(SKIN_SET)
    STYLE_MENU_PAIRS(SKIN_PAIR)

    const std::string output = argv[1];
    std::remove(output.c_str());
    int error = 0;
    zip_t* archive = zip_open(output.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive) {
        std::fprintf(stderr, "versaleo-skin: cannot create %s\n", output.c_str());
        return 1;
    }
    std::vector<QByteArray> keep;
    keep.reserve(pictures.size());
    for (const auto& [name, image] : pictures) {
        keep.push_back(bmpBytes(image));
        zip_source_t* source = zip_source_buffer(archive, keep.back().constData(), static_cast<zip_uint64_t>(keep.back().size()), 0);
        if (!source || zip_file_add(archive, (name + ".bmp").c_str(), source, ZIP_FL_OVERWRITE) < 0) {
            zip_source_free(source);
            zip_discard(archive);
            std::fprintf(stderr, "versaleo-skin: cannot add %s\n", name.c_str());
            return 1;
        }
    }
    if (zip_close(archive) != 0) {
        std::fprintf(stderr, "versaleo-skin: cannot write %s\n", output.c_str());
        return 1;
    }
    return 0;
}
