// The names of the Retained Mode result codes, in ascending order of code.
#include "Lumivex.h"

namespace vyn::lumivex {

#define VYN_NAMED(code) {code, #code}

const ErrorName retainedModeErrorNames[] = {
    VYN_NAMED(D3DRMERR_BADOBJECT),        VYN_NAMED(D3DRMERR_BADTYPE),
    VYN_NAMED(D3DRMERR_BADALLOC),         VYN_NAMED(D3DRMERR_FACEUSED),
    VYN_NAMED(D3DRMERR_NOTFOUND),         VYN_NAMED(D3DRMERR_NOTDONEYET),
    VYN_NAMED(D3DRMERR_FILENOTFOUND),     VYN_NAMED(D3DRMERR_BADFILE),
    VYN_NAMED(D3DRMERR_BADDEVICE),        VYN_NAMED(D3DRMERR_BADVALUE),
    VYN_NAMED(D3DRMERR_BADMAJORVERSION),  VYN_NAMED(D3DRMERR_BADMINORVERSION),
    VYN_NAMED(D3DRMERR_UNABLETOEXECUTE),
};

#undef VYN_NAMED

const int retainedModeErrorNameCount =
    static_cast<int>(sizeof retainedModeErrorNames / sizeof retainedModeErrorNames[0]);

}  // namespace vyn::lumivex
