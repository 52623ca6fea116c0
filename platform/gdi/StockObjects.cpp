#include "gdi/StockObjects.h"

HGDIOBJ GetStockObject(int object) { return vyn::gdi::StockObjectHandle(object); }
