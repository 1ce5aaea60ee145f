#ifndef MODE_H
#define MODE_H

// Tool mode: one value for the whole program. The numbers are fixed; the tool
// bar maps its buttons to them and value 2 is not used by any tool.
enum Mode {
    InsertLine = 0,
    InsertArrow = 1,
    InsertText = 3,
    FitCurve = 4,
    InsertPen = 5,
    InsertAngle = 6,
    Pointer = 7,
    InsertRuler = 8,
    InsertDip = 9,
    MeasureLength = 10,
    MeasureAngle = 11,
    MarkLithology = 12,
    IrregularArea = 13,
    InsertStructurePick = 14
};

// The current tool mode; Pointer at start-up.
extern Mode currentMode;

#endif // MODE_H
