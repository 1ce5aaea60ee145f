#include "globals.h"

double pixelsPerUnit = 0.0;
double maxPageDepth = 0.0;
bool readingInProgress = false;
