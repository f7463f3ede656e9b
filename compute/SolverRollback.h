// Puts the solver back as it was when a parameter run is abandoned half-way.
#pragma once

#include <Keltransformation.h>

#include <utility>

namespace compute {

// Takes the solver's tables aside (moved, not copied: a run allocates new ones anyway) and
// remembers its parameters. Unless keep() is called, the destructor restores all of it,
// also while an exception passes. keep() returns the tables the finished run left alone:
// with too few pairs all three, with coinciding old points the residuals.
class SolverRollback {
public:
  explicit SolverRollback(kel::TKEL_Vovezorevarovaduvorir& solver)
      : solver_(solver), observations_(std::move(static_cast<kel::matrix&>(solver))),
        reduced_(std::move(solver.reduced)), centroid_(std::move(solver.centroid)),
        residuals_(std::move(solver.residuals)), a_(solver.a), o_(solver.o), Yo_(solver.Yo),
        Xo_(solver.Xo), So_(solver.So), status_(solver.status) {}

  ~SolverRollback() {
    if (kept_) return;
    static_cast<kel::matrix&>(solver_) = std::move(observations_);
    solver_.reduced = std::move(reduced_);
    solver_.centroid = std::move(centroid_);
    solver_.residuals = std::move(residuals_);
    solver_.a = a_;
    solver_.o = o_;
    solver_.Yo = Yo_;
    solver_.Xo = Xo_;
    solver_.So = So_;
    solver_.status = status_;
  }

  SolverRollback(const SolverRollback&) = delete;
  SolverRollback& operator=(const SolverRollback&) = delete;

  // The run stands.
  void keep() {
    kept_ = true;
    if (solver_.status == 2) {
      solver_.reduced = std::move(reduced_);
      solver_.centroid = std::move(centroid_);
    }
    if (solver_.status == 2 || solver_.status == 3) solver_.residuals = std::move(residuals_);
  }

private:
  kel::TKEL_Vovezorevarovaduvorir& solver_;
  kel::matrix observations_, reduced_, centroid_, residuals_;
  long double a_, o_, Yo_, Xo_;
  double So_;
  int status_;
  bool kept_ = false;
};

}  // namespace compute
