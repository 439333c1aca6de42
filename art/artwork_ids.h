/* Resource numbers of the installer's artwork (shared by the resource script and
   the code that loads the pictures). Plain macros: the resource compiler reads this. */
#ifndef SETUVANE_ARTWORK_IDS_H
#define SETUVANE_ARTWORK_IDS_H

#define IDB_LOGO 101
#define IDB_CORNER 102
#define IDB_MOTIVE 103
#define IDB_BUBBLE_WARNING 110
#define IDB_BUBBLE_QUESTION 111
#define IDB_BUBBLE_ASTERISK 112
#define IDB_DETAIL_EXCEPTION 120
#define IDB_DETAIL_CRITICAL 121
#define IDB_WARNING_ICON 122
#define IDB_GLYPH_CLOSE 130
#define IDB_GLYPH_RIGHT 131
#define IDB_GLYPH_DOWN 132
#define IDB_MENU_COPY 140
#define IDB_MENU_SEND 141
#define IDB_MENU_CLOSE 142

#endif
