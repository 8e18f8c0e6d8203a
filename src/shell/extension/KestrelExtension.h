/* Kestrel extension modules: the one header a module includes.
 *
 * A module is an ELF shared object named NAME.kxm in the folder ExtensionModules beside the
 * kestrel executable. When the editor (or a headless run) starts, every such module is loaded
 * and its entry point KestrelExtEntryPoint is called; it registers commands with AddCommand and
 * may create toolbars and docking panes. A registered command is typed or clicked like a built-in
 * one: the module's exported C function of the command's name is called once per input with the
 * address of the command's step, and returns 0 on failure, or nonzero with the step unchanged
 * when the command has finished, or with the step changed when it continues.
 *
 * Every function below is exported by the executable with C linkage. Strings are NUL-terminated
 * UTF-16. Coordinates are drawing coordinates. Object ids are those of the space being edited.
 * A call with a null pointer where a pointer is needed, or a count or size out of range, is
 * refused: it changes nothing and returns the failure value given. No call throws. */
#ifndef KESTREL_EXTENSION_H
#define KESTREL_EXTENSION_H

#ifdef __cplusplus
extern "C" {
#else
#include <stdbool.h>
#include <uchar.h>
#endif

/* Characters an input line holds, its terminator included: the size of the buffer
 * GetInputString fills. */
#define KESTREL_INPUT_LINE_SIZE 4096

/* The marker text a pick is delivered with the second time (see GetInputType). */
#define KESTREL_PICK_MARKER u"#EXT#"

/* Object type codes (getObjectType). */
#define KESTREL_TYPE_POLYLINE 10101
#define KESTREL_TYPE_CIRCLE 10111
#define KESTREL_TYPE_ARC 10121
#define KESTREL_TYPE_POINT 10131
#define KESTREL_TYPE_LINE 10141
#define KESTREL_TYPE_SPLINE 10151
#define KESTREL_TYPE_IMAGE 10201
#define KESTREL_TYPE_BLOCK_REFERENCE 10301
#define KESTREL_TYPE_HATCH 10401
#define KESTREL_TYPE_TEXT 10501
#define KESTREL_TYPE_MTEXT 10511
#define KESTREL_TYPE_DIMENSION 10701

/* SetObjectSelectMode. */
#define KESTREL_SELECT_NONE 0
#define KESTREL_SELECT_OBJECTS 1 /* clicks and windows select; Return ends the selection */
#define KESTREL_SELECT_ONE 2     /* a click on an object picks it (GetPickedObject) */

/* Toolbar buttons (CreateExtensionToolbar). */
#define KESTREL_BUTTON 0
#define KESTREL_SEPARATOR 1

typedef struct KestrelToolbarButton {
    int image;     /* the button's 16 x 16 cell of the toolbar image, counted from 0 */
    int commandId; /* the uiCommandId given to AddCommand, or a menu command id */
    int style;     /* KESTREL_BUTTON or KESTREL_SEPARATOR */
    /* Shown when no registered command has commandId as its uiCommandId; may be null. */
    const char16_t* tooltip;
} KestrelToolbarButton;

/* What a module defines: called once at start-up; returns 0 on failure. */
int KestrelExtEntryPoint(void);

/* The module whose entry point is running (the handle AddCommand and the toolbar and pane
 * functions take); null outside an entry point. */
void* GetLoadingModule(void);

/* ---- Commands and the command line ---- */

/* Registers commandName, implemented by the function of that name that module exports. The
 * button or menu item uiCommandId (0: none) submits the command; tooltip is its tooltip. Commands
 * registered first win over later ones and over built-in commands of the same name. */
void AddCommand(const char16_t* commandName, const char16_t* tooltip, const char16_t* moduleName,
                void* module, int uiCommandId);
/* Submits text as if it were chosen from a menu. */
void DoCommandLine(const char16_t* text);
/* Sets the prompt of the command line. */
void DisplayPromptMsg(const char16_t* text);
/* Writes text to the command history as a line of its own. */
void DisplayMsg(const char16_t* text);

/* *type := 0 when the current input was typed text, 1 when it was a pick. A pick is delivered
 * twice: first as a point (type 1, GetInputPoint), then as the text KESTREL_PICK_MARKER (type 0),
 * which a command should ignore. */
void GetInputType(int* type);
/* Copies the current input line and its terminator into buffer, which must hold
 * KESTREL_INPUT_LINE_SIZE characters; a longer line (one submitted by DoCommandLine) is cut. */
void GetInputString(char16_t* buffer);
/* The same into a buffer of size characters: copies at most size - 1 of them and the terminator.
 * Returns the length of the whole line (a result of size or more means it was cut), or -1. */
int GetInputStringN(char16_t* buffer, int size);
/* The point of the last pick. */
void GetInputPoint(double* x, double* y);
/* The current input read as a number (2.5, -1e3, 10mm reads 10). 1 when it starts with one,
 * else 0 and *value is unchanged. */
int GetInputNumber(double* value);
/* The current input read as coordinates: x,y absolute, @dx,dy relative to the last point,
 * @distance<angle polar. 1 when it is a point, which becomes the last point; else 0. */
int GetInputCoordinates(double* x, double* y);

/* mode 1: the view takes points, with a rubber-band line from (x, y) to the cursor when
 * withBase. Any other mode: the view takes no points. */
void SetUserInputMode(int mode, bool withBase, double x, double y);
/* KESTREL_SELECT_OBJECTS: clicks and windows in the view add objects to the selection.
 * KESTREL_SELECT_ONE: the selection is cleared and the next click on an object picks it and
 * submits an empty line. KESTREL_SELECT_NONE: neither. Returns 0, or -1 for another mode. */
int SetObjectSelectMode(int mode);
/* The selected objects: copies up to capacity ids into ids and returns how many are selected
 * (ids may be null when capacity is 0); -1 when refused. */
int GetSelection(int* ids, int capacity);
/* *id := the object picked since KESTREL_SELECT_ONE was last set, or -1 when none was. */
void GetPickedObject(int* id);

/* A single slot: saves the running command and its step and leaves no command running, so that
 * a nested command can run; RestoreCurrentCommand brings them back. */
void SaveCurrentCommand(void);
void RestoreCurrentCommand(void);
/* Redraws the view. */
void Regen(void);
/* *out := the main window (a QMainWindow*); null in the headless mode. */
void GetMainFrameWindow(void** out);

/* ---- Toolbars and panes (the headless mode accepts these calls and does nothing) ---- */

/* Creates toolbar index (0 to 9) with buttonCount buttons. Its images are the 16 x 16 cells,
 * left to right, of the image file NAME.bitmapId.png (or .bmp) beside the module NAME.kxm;
 * magenta (#FF00FF) is transparent. */
void CreateExtensionToolbar(int bitmapId, void* module, const char16_t* title, int index,
                            const KestrelToolbarButton* buttons, int buttonCount);
/* Creates docking pane index (0 to 9) holding content, a QWidget* the module made, shown at
 * 230 x 400. dialogTemplateId is not used. */
void CreateExtensionDockbar(int dialogTemplateId, void* module, const char16_t* title, int index,
                            void* content);

/* ---- Polylines drawn by a module ---- */

/* The layer (found by name ignoring case; the current layer when none has it) whose colour,
 * visibility and width addPolyline gives new polylines. The current layer does not change. */
void setWorkingLayer(const char16_t* name);
/* Adds a polyline of count / 2 vertices (x, y pairs of xy) and sets *id to its id. */
void addPolyline(const double* xy, int count, int* id);
/* Sets vertex index of object id to (x, y), or appends (x, y) when index is not a vertex. */
void updatePolyline(int id, int index, double x, double y);
/* Imports a DXF or DWG file as a block named after the file; blockName (255 characters) receives
 * that name, or stays empty when the file could not be read. Always 0. */
int LoadXREF(const char16_t* path, char16_t* blockName);

/* ---- Editing objects: each call that changes the drawing is one step of UNDO ---- */

/* The type code of object id, or 0 when the space has no such object. */
int getObjectType(int id);
/* Move, turn (degrees, counter-clockwise) or scale (factor > 0) the objects about a base point.
 * Ids that name no object are passed over. Return how many objects changed, or -1. */
int moveObjects(const int* ids, int count, double dx, double dy);
int rotateObjects(const int* ids, int count, double baseX, double baseY, double degrees);
int scaleObjects(const int* ids, int count, double baseX, double baseY, double factor);

/* The vertex count of polyline id (-1 when id is no polyline); *closed (may be null) := 1 when
 * a segment joins its last vertex to the first. */
int getPolylineInfo(int id, int* closed);
/* Vertex index and the bulge of the segment that starts there (tangent of a quarter of its
 * angle, positive counter-clockwise). 0, or -1. */
int getPolylineVertex(int id, int index, double* x, double* y, double* bulge);
/* Inserts vertex index (1 to the vertex count) at (x, y). The segment it splits becomes two:
 * bulgeBefore ends at the new vertex, bulgeAfter starts there. 0, or -1. */
int insertPolylineVertex(int id, int index, double x, double y, double bulgeBefore,
                         double bulgeAfter);
/* Removes vertex index; the segment that now joins its neighbours takes bulge. A polyline keeps
 * at least two vertices. 0, or -1. */
int deletePolylineVertex(int id, int index, double bulge);
/* Sets the bulge of segment index (the one starting at vertex index). 0, or -1. */
int setPolylineBulge(int id, int index, double bulge);

/* Centre and radius of circle or arc id. 0, or -1. */
int getCircle(int id, double* centerX, double* centerY, double* radius);
/* Adds a radius dimension of the circle through (pointX, pointY) about (centerX, centerY) with
 * its text at (textX, textY), in the current dimension style and layer; *id := its id. 0, or
 * -1. */
int addRadiusDimension(double centerX, double centerY, double pointX, double pointY, double textX,
                       double textY, int* id);

#ifdef __cplusplus
}
#endif

#endif
