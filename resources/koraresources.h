#ifndef KORARESOURCES_H
#define KORARESOURCES_H

// Registers the compiled-in icons of the static resource library. Call once
// before the first icon is loaded (the main window does).
void initKoraResources();

#endif // KORARESOURCES_H
