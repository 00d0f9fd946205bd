#pragma once

namespace korvan {

// Word's own constants with Word's values, so that the report code passes the same values it
// would pass to Word's object model.

enum WdCollapseDirection { wdCollapseEnd = 0, wdCollapseStart = 1 };

enum WdUnits { wdParagraph = 4, wdLine = 5 };

enum WdMovementType { wdMove = 0, wdExtend = 1 };

enum WdParagraphAlignment {
    wdAlignParagraphLeft = 0,
    wdAlignParagraphCenter = 1,
    wdAlignParagraphRight = 2,
    wdAlignParagraphJustify = 3,
};

enum WdPaperSize { wdPaperA3 = 6, wdPaperA4 = 7, wdPaperA5 = 9 };

enum WdOrientation { wdOrientPortrait = 0, wdOrientLandscape = 1 };

enum WdSeekView { wdSeekMainDocument = 0, wdSeekCurrentPageHeader = 9, wdSeekCurrentPageFooter = 10 };

enum WdFieldType { wdFieldTOC = 13, wdFieldPage = 33 };

enum WdTableFieldSeparator { wdSeparateByTabs = 1 };

} // namespace korvan
