// The version text comes from project(VERSION) through the build (TKT_VERSION_TEXT), so the
// soname, the packages and what the module answers at run time cannot disagree.
#include "Pkg_tkt00740/tkt00740.h"

#ifndef TKT_VERSION_TEXT
#error "TKT_VERSION_TEXT must be defined by the build"
#endif

extern "C" TKT_API const char *tkt_Version(void)
{
    return TKT_VERSION_TEXT;
}
