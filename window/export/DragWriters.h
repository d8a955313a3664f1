#pragma once
// Hands the program's own TIFF and PNG writers to the views, which know
// nothing of documents, for the pictures dragged out of them.

namespace gelcoat {

// Call once at start-up, before any picture is dragged.
void installDragWriters();

} // namespace gelcoat
