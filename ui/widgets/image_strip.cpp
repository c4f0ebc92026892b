#include "ui/widgets/image_strip.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace {

constexpr int kCell = 20;

enum class Tone { kFile, kEdit, kSearch, kWindow, kSpeech, kInfo, kExit };

QColor toneColor(Tone tone) {
    switch (tone) {
        case Tone::kFile:
            return QColor(46, 104, 178);
        case Tone::kEdit:
            return QColor(52, 140, 74);
        case Tone::kSearch:
            return QColor(122, 72, 160);
        case Tone::kWindow:
            return QColor(30, 134, 140);
        case Tone::kSpeech:
            return QColor(214, 120, 30);
        case Tone::kInfo:
            return QColor(90, 100, 116);
        case Tone::kExit:
            return QColor(190, 48, 48);
    }
    return Qt::gray;
}

// What a cell shows: a glyph on a tile of its tone, or one of the drawn
// pictures below (glyph empty).
struct Cell {
    Tone tone;
    const char16_t* glyph;
};

constexpr Cell kCells[kStandardImageCount] = {
    {Tone::kFile, u"\u2261"},     // change dictionary: a list of them
    {Tone::kFile, u"\u271A"},     // create new
    {Tone::kFile, u"\u2193"},     // import
    {Tone::kFile, u"\u2191"},     // export
    {Tone::kFile, u"\u21BB"},     // update
    {Tone::kEdit, u""},           // copy
    {Tone::kEdit, u""},           // paste
    {Tone::kFile, u""},           // save
    {Tone::kFile, u""},           // save as
    {Tone::kWindow, u"\u2328"},   // hot keys
    {Tone::kWindow, u""},         // main window
    {Tone::kSpeech, u""},         // speak
    {Tone::kWindow, u""},         // popup window
    {Tone::kWindow, u""},         // tooltip window
    {Tone::kEdit, u"\u270E"},     // edit
    {Tone::kEdit, u"+"},          // add word
    {Tone::kEdit, u"\u2212"},     // delete word
    {Tone::kInfo, u"i"},          // about
    {Tone::kExit, u"\u2715"},     // exit
    {Tone::kInfo, u"?"},          // help
    {Tone::kInfo, u"#"},          // dictionary information
    {Tone::kSearch, u"\u00B6"},   // translate text
    {Tone::kSearch, u"*"},        // wildcards
    {Tone::kSearch, u".*"},       // regular expressions
    {Tone::kSearch, u"Aa"},       // case sensitive
    {Tone::kSpeech, u""},         // stop
    {Tone::kSearch, u"\u00E9"},   // ignore accents
    {Tone::kSearch, u"A1"},       // anagrams 1
    {Tone::kSearch, u"A2"},       // anagrams 2
    {Tone::kSearch, u"A3"},       // anagrams 3
    {Tone::kEdit, u""},           // use clipboard
    {Tone::kSearch, u"A\u2192"},  // automatic translation
    {Tone::kWindow, u"II"},       // dual mode
    {Tone::kFile, u"+2"},         // load dual
    {Tone::kWindow, u"\u221E"},   // link
    {Tone::kWindow, u"\u2234"},   // link all
    {Tone::kSearch, u"\u2194"},   // palindromes
    {Tone::kSearch, u"="},        // identical words
    {Tone::kWindow, u"\u25B2"},   // always on top
    {Tone::kInfo, u"\u2699"},     // settings
    {Tone::kInfo, u"\u03A9"},     // character map
    {Tone::kWindow, u"\u21C4"},   // translation direction
    {Tone::kEdit, u"\u2248"},     // change word
    {Tone::kEdit, u"\u2702"},     // cut
    {Tone::kExit, u"\u2716"},     // delete
    {Tone::kEdit, u"\u21B6"},     // undo
    {Tone::kWindow, u"\u21F1"},   // restore from tray
    {Tone::kEdit, u"\u25A4"},     // select all
};

void drawPage(QPainter& p, const QRectF& r) {
    p.setBrush(Qt::white);
    p.drawRect(r);
}

void drawPicture(QPainter& p, int index, const QRectF& box) {
    p.setPen(QPen(Qt::white, 1.2));
    const qreal x = box.x();
    const qreal y = box.y();
    switch (index) {
        case kImageCopy:
            p.setPen(QPen(QColor(40, 40, 40), 1));
            drawPage(p, QRectF(x + 4, y + 3, 8, 10));
            drawPage(p, QRectF(x + 8, y + 7, 8, 10));
            break;
        case kImagePaste:
        case kImageUseClipboard:
            p.setPen(QPen(QColor(40, 40, 40), 1));
            p.setBrush(QColor(200, 160, 100));
            p.drawRect(QRectF(x + 4, y + 3, 12, 14));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(x + 6, y + 6, 8, 9));
            p.setBrush(QColor(90, 90, 90));
            p.drawRect(QRectF(x + 7, y + 2, 6, 3));
            break;
        case kImageSave:
        case kImageSaveAs:
            p.setBrush(Qt::white);
            p.drawRect(QRectF(x + 4, y + 4, 12, 12));
            p.setBrush(toneColor(Tone::kFile));
            p.drawRect(QRectF(x + 7, y + 4, 6, 4));
            if (index == kImageSaveAs) {
                p.setPen(QPen(QColor(255, 210, 60), 2));
                p.drawLine(QPointF(x + 9, y + 15), QPointF(x + 17, y + 7));
            }
            break;
        case kImageMainWindow:
        case kImagePopupWindow: {
            const QRectF w = index == kImageMainWindow ? QRectF(x + 3, y + 4, 14, 12)
                                                       : QRectF(x + 6, y + 7, 10, 9);
            p.setBrush(Qt::white);
            p.drawRect(w);
            p.fillRect(QRectF(w.x(), w.y(), w.width(), 3), QColor(20, 60, 70));
            break;
        }
        case kImageTooltipWindow: {
            QPainterPath bubble;
            bubble.addRoundedRect(QRectF(x + 3, y + 4, 14, 9), 2, 2);
            bubble.moveTo(x + 6, y + 13);
            bubble.lineTo(x + 5, y + 17);
            bubble.lineTo(x + 10, y + 13);
            p.setBrush(QColor(255, 250, 200));
            p.drawPath(bubble.simplified());
            break;
        }
        case kImageSpeak: {
            p.setBrush(Qt::white);
            const QPointF cone[] = {{x + 4, y + 8},   {x + 7, y + 8},  {x + 11, y + 4},
                                    {x + 11, y + 16}, {x + 7, y + 12}, {x + 4, y + 12}};
            p.drawPolygon(cone, 6);
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(x + 9, y + 6, 6, 8), -60 * 16, 120 * 16);
            p.drawArc(QRectF(x + 9, y + 3, 9, 14), -60 * 16, 120 * 16);
            break;
        }
        case kImageStop:
            p.setBrush(Qt::white);
            p.drawRect(QRectF(x + 6, y + 6, 8, 8));
            break;
        default:
            break;
    }
}

QPixmap paintStandardStrip() {
    // Painted at the screen's scale, so that a scaled desktop (200 %) gets
    // sharp images rather than enlarged ones.
    const qreal ratio = std::max<qreal>(1.0, qGuiApp ? qGuiApp->devicePixelRatio() : 1.0);
    QPixmap strip(QSize(kCell * kStandardImageCount, kCell) * ratio);
    strip.setDevicePixelRatio(ratio);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont font = p.font();
    font.setBold(true);
    for (int i = 0; i < kStandardImageCount; ++i) {
        const QRectF box(i * kCell, 0, kCell, kCell);
        p.setPen(Qt::NoPen);
        p.setBrush(toneColor(kCells[i].tone));
        p.drawRoundedRect(box.adjusted(1, 1, -1, -1), 4, 4);
        const QString glyph = QString::fromUtf16(kCells[i].glyph);
        if (glyph.isEmpty()) {
            drawPicture(p, i, box);
            continue;
        }
        font.setPixelSize(glyph.size() > 1 ? 10 : 14);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(box, Qt::AlignCenter, glyph);
    }
    return strip;
}

}  // namespace

ImageStrip::ImageStrip(const QPixmap& strip, int cellWidth, int cellHeight)
    : m_strip(strip), m_cellWidth(cellWidth > 0 ? cellWidth : 1), m_cellHeight(cellHeight) {}

int ImageStrip::count() const {
    return static_cast<int>(m_strip.deviceIndependentSize().width()) / m_cellWidth;
}

QPixmap ImageStrip::image(int index) const {
    if (index < 0 || index >= count()) return QPixmap();
    // The cell in the strip's own pixels, which a scaled strip has more of.
    const qreal ratio = m_strip.devicePixelRatio();
    QPixmap cell = m_strip.copy(
        QRectF(index * m_cellWidth * ratio, 0, m_cellWidth * ratio, m_cellHeight * ratio).toRect());
    cell.setDevicePixelRatio(ratio);
    return cell;
}

const ImageStrip& ImageStrip::standard() {
    static const ImageStrip strip(paintStandardStrip(), kCell, kCell);
    return strip;
}
