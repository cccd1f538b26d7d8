#include "blocks/BlockCatalogue.h"
