// The PROJ pipeline of the estimate with the triangle-wise Restklaffenverteilung: the
// helmert step of ProjOperation.h, then PROJ's tinshift with the file --tinshift wrote.
// Inside the triangles it gives T(P) + c(P) as tramis-cli does; outside them PROJ does not
// transform the point (cct reports an error per point and still ends with 0).
#pragma once

#include "Keltransformation.h"

#include <string>

namespace cli {

// "+proj=pipeline +step +proj=helmert ... +step +proj=tinshift +file=PATH"
std::string projPipeline(const kel::TKEL_Vovezorevarovaduvorir& solver, const std::string& tinshiftPath);

}  // namespace cli
