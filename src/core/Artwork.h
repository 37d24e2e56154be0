// Ground floor (src/core): platform seams, message catalogue, pictures; uses no other folder.
#pragma once
// The program's pictures, drawn in code so that they stay crisp at any screen scaling:
// the window icon, the button pictures of the main window and the splash/About picture.

#include <QPixmap>

// Picture n (1-based) of the main window's image list; an empty pixmap for unknown n.
QPixmap imageListPicture(int n, int size = 64);
QPixmap programIcon(int size = 128);
QPixmap splashPicture(int width = 360, int height = 200);
