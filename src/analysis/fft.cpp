#include "analysis/fft.h"

#include <fftw3.h>

#include <algorithm>
#include <mutex>

namespace analysis {

namespace {
// FFTW's planner is not thread-safe; executing a plan is.
std::mutex& plannerLock() {
  static std::mutex lock;
  return lock;
}
}  // namespace

RealFft::RealFft(int size) : size_(size) {
  std::lock_guard guard(plannerLock());
  real_ = fftwf_alloc_real(size_t(size));
  bins_ = reinterpret_cast<std::complex<float>*>(fftwf_alloc_complex(size_t(size / 2 + 1)));
  auto* bins = reinterpret_cast<fftwf_complex*>(bins_);
  forwardPlan_ = fftwf_plan_dft_r2c_1d(size, real_, bins, FFTW_ESTIMATE);
  inversePlan_ = fftwf_plan_dft_c2r_1d(size, bins, real_, FFTW_ESTIMATE);
}

RealFft::~RealFft() {
  std::lock_guard guard(plannerLock());
  fftwf_destroy_plan(static_cast<fftwf_plan>(forwardPlan_));
  fftwf_destroy_plan(static_cast<fftwf_plan>(inversePlan_));
  fftwf_free(real_);
  fftwf_free(bins_);
}

const std::complex<float>* RealFft::forward(const float* input) {
  std::copy(input, input + size_, real_);
  fftwf_execute(static_cast<fftwf_plan>(forwardPlan_));
  return bins_;
}

const float* RealFft::inverse(const std::complex<float>* bins) {
  std::copy(bins, bins + size_ / 2 + 1, bins_);
  fftwf_execute(static_cast<fftwf_plan>(inversePlan_));
  return real_;
}

}  // namespace analysis
