#pragma once

#include <QIcon>

// The program's icon: every size that the build rendered from its drawing.
QIcon ambrellIcon();
