#pragma once
// The one format in which every window lists its controls, in tab order (which is also the order of
// creation, and so of the keyboard's travel): identifier, container, class, caption (an entry of the
// texts table, shown in the window's language), styles, design place in twips and font.
#include <windows.h>

#include <span>

#include "platform/win32/Wide.h"
#include "windowtexts/WindowTexts.h"

// Id is the window's own enumeration of its control identifiers; Id{} as container stands for the
// window itself.
template <class Id>
struct ControlDesign {
  Id id;
  Id container;
  const wchar_t* className;
  WindowText caption;
  DWORD style;  // WS_CHILD is added; WS_VISIBLE marks the controls shown when the window opens
  DWORD exStyle;
  int left, top, width, height;  // twips, from the container's top-left corner
  int font;                      // index into the fonts the window passes to PlaceControl
};

// Labels take the size of their caption, so that no text is cut off at any font size; an empty label
// takes no width.
void FitLabel(HWND label);
// Sets a label's caption and fits the label to it.
void SetLabelText(HWND label, const wchar_t* text);

HWND CreateTableControl(HWND parent, int id, const wchar_t* className, const wchar_t* caption, DWORD style,
                        DWORD exStyle);
void PlaceTableControl(HWND control, const wchar_t* className, DWORD style, RECT twips, HFONT font, UINT dpi);

// Creates the control in parent (its container) with its caption in the language, without place or font;
// PlaceControl gives it both.
template <class Id>
HWND CreateControl(HWND parent, const ControlDesign<Id>& design, Language language) {
  return CreateTableControl(parent, static_cast<int>(design.id), design.className,
                            platform::win32::Wide(Text(design.caption, language)), design.style, design.exStyle);
}

// Gives the control its font and its design place for dpi; a single-line label then fits its caption.
template <class Id>
void PlaceControl(HWND control, const ControlDesign<Id>& design, std::span<const HFONT> fonts, UINT dpi) {
  const RECT twips{design.left, design.top, design.left + design.width, design.top + design.height};
  PlaceTableControl(control, design.className, design.style, twips, fonts[static_cast<std::size_t>(design.font)], dpi);
}
