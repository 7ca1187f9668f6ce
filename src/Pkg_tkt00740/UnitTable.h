#pragma once
// The module's units in load order. Each unit registers its pair of routines here.
#include "Pkg_tkt00740/tkt00740.h"

namespace Pkg_tkt00740 {

const TktPackageInfoTable &unitTable();

} // namespace Pkg_tkt00740
