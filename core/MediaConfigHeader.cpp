#include "core/MediaConfigHeader.h"

MediaConfigHeader HeaderMcf;
