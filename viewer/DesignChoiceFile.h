#pragma once

#include <optional>

#include <QString>

#include "loads/DesignFile.h"
#include "viewer/DesignChoice.h"

// The Design panel's choice in the design file beside the truss file: its
// code, steel, sections and restraints are the panel's, its other keys (the
// deflection limit, the cases, the combinations) the engineer's own.

// The choice the design file gives, over base: the other code's grade and
// sections stay as base has them.
DesignChoice choiceOf(const DesignFile& file, const DesignChoice& base);

// The design file holding the choice; a section the code's tables do not
// hold is left out (the panel says what is wrong with it).
DesignFile withChoice(DesignFile file, const DesignChoice& choice);

// Writes the choice into the design file at path through the save routine.
// The file is read again first, so that nothing written into it since it
// was shown is lost, and written only when the choice changes it, the file
// is exactly as this viewer writes it (comments and a layout of the
// engineer's own would be lost: refused), and the text made reads back to
// the same design file (a grade aisc360 takes from the section, the
// categories of en1993 cases under aisc360: refused).
// nullopt when the file holds the choice; else why it does not.
std::optional<QString> saveIntoDesignFile(const QString& path, const DesignChoice& choice);
