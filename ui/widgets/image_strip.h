// The program's images: one strip of equal cells, from which the image
// buttons, the menus and the tray take their pictures by index. The standard
// strip is painted by the program itself when it is first used.
#pragma once

#include <QPixmap>

// Cells of the standard strip. The numbers are fixed: menus and buttons name
// them.
enum StandardImage : int {
    kImageChangeDictionary = 0,
    kImageCreateNew = 1,
    kImageImport = 2,
    kImageExport = 3,
    kImageUpdate = 4,
    kImageCopy = 5,
    kImagePaste = 6,
    kImageSave = 7,
    kImageSaveAs = 8,
    kImageHotKeys = 9,
    kImageMainWindow = 10,
    kImageSpeak = 11,
    kImagePopupWindow = 12,
    kImageTooltipWindow = 13,
    kImageEdit = 14,
    kImageAddWord = 15,
    kImageDeleteWord = 16,
    kImageAbout = 17,
    kImageExit = 18,
    kImageHelp = 19,
    kImageDictionaryInfo = 20,
    kImageTranslateText = 21,
    kImageWildcards = 22,
    kImageRegex = 23,
    kImageCaseSensitive = 24,
    kImageStop = 25,
    kImageIgnoreAccents = 26,
    kImageAnagrams1 = 27,
    kImageAnagrams2 = 28,
    kImageAnagrams3 = 29,
    kImageUseClipboard = 30,
    kImageAutotranslate = 31,
    kImageDualMode = 32,
    kImageLoadDual = 33,
    kImageLink = 34,
    kImageMultiple = 35,
    kImagePalindrome = 36,
    kImageIdentical = 37,
    kImageAlwaysOnTop = 38,
    kImageSettings = 39,
    kImageCharmap = 40,
    kImageDirection = 41,
    kImageChangeWord = 42,
    kImageCut = 43,
    kImageDelete = 44,
    kImageUndo = 45,
    kImageRestoreFromTray = 46,
    kImageSelectAll = 47,
    kStandardImageCount = 48,
};

class ImageStrip {
public:
    // A strip of cells `cellWidth` x `cellHeight` laid out left to right.
    ImageStrip(const QPixmap& strip, int cellWidth, int cellHeight);

    int count() const;
    QSize cellSize() const { return QSize(m_cellWidth, m_cellHeight); }
    // Cell `index`, or a null pixmap out of range.
    QPixmap image(int index) const;
    const QPixmap& strip() const { return m_strip; }

    // The program's strip (kStandardImageCount cells of 20 x 20). Painted on
    // first use, which must be on the user-interface thread once the
    // application object exists; it lives until the program ends.
    static const ImageStrip& standard();

private:
    QPixmap m_strip;
    int m_cellWidth;
    int m_cellHeight;
};
