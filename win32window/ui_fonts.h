#pragma once

#include <windows.h>

#include <span>

#include "win32window/win32_handles.h"

namespace quillon {

// The font the system uses for dialogs and message boxes, at `dpi`.
UniqueFont MessageFont(UINT dpi);

// `font` at the same face and height times `scale`, e.g. a smaller one for captions that
// would not fit.
UniqueFont ScaledFont(HFONT font, double scale);

// A fixed-pitch font for text on a grid of cells, `points` high at `dpi`: the first of the
// usual Windows ones that exists and really has one width for all characters.
UniqueFont FixedPitchFont(int points, UINT dpi);

// The largest of `font` and smaller sizes of it, down to a readable limit, at which the
// captions of all `buttons` fit their width beside the button's mark; null when `font` fits.
UniqueFont FontFittingCaptions(HFONT font, std::span<const HWND> buttons, UINT dpi);

}  // namespace quillon
