// The helmert + tinshift pipeline as one PROJ string.
#include "ProjPipeline.h"

#include "ProjOperation.h"

namespace cli {

std::string projPipeline(const kel::TKEL_Vovezorevarovaduvorir& solver, const std::string& tinshiftPath) {
  return "+proj=pipeline +step " + projOperation(solver) + " +step +proj=tinshift +file=" + tinshiftPath;
}

}  // namespace cli
