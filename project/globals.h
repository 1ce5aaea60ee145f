#ifndef GLOBALS_H
#define GLOBALS_H

// Process-wide values shared by the shell, the canvas and the workers.
// They are read and written on the GUI thread only; workers take copies of
// what they need when they are made.

// Depth unit: 0.1 mm. 10 000 units are one metre.
constexpr int kDepthUnitsPerMetre = 10000;

// Circumference factor used throughout the program (pi taken as 3.14).
constexpr double kPi = 3.14;

// Scene pixels per depth unit of the current project; 0.0 means not yet known.
extern double pixelsPerUnit;

// Largest page span in depth units; 0.0 until first computed.
extern double maxPageDepth;

// True from the start of a page read until its worker has finished.
extern bool readingInProgress;

#endif // GLOBALS_H
