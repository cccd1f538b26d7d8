#include "xml/SimpleXML.h"
