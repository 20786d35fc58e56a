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

namespace {
// The smallest m' >= m with no prime factor above 7, where FFTW is fastest.
size_t smoothAbove(size_t m) {
  for (;; ++m) {
    size_t rest = m;
    for (size_t p : {2, 3, 5, 7})
      while (rest % p == 0) rest /= p;
    if (rest == 1) return m;
  }
}

size_t gcd(size_t a, size_t b) { return b == 0 ? a : gcd(b, a % b); }
}  // namespace

std::vector<float> resampleBySpectrum(const std::vector<float>& input, int fromRate, int toRate) {
  // Padded with silence to a length that turns into a whole number of output
  // samples and factors well.
  const size_t unitIn = size_t(fromRate) / gcd(size_t(fromRate), size_t(toRate));
  const size_t unitOut = size_t(toRate) / gcd(size_t(fromRate), size_t(toRate));
  const size_t units = smoothAbove((input.size() + unitIn - 1) / unitIn);
  const size_t inSize = units * unitIn, outSize = units * unitOut;
  const size_t kept = std::min(inSize, outSize) / 2 + 1;

  float* time;
  fftwf_complex* bins;
  fftwf_plan forward, inverse;
  {
    std::lock_guard guard(plannerLock());
    time = fftwf_alloc_real(std::max(inSize, outSize));
    bins = fftwf_alloc_complex(std::max(inSize, outSize) / 2 + 1);
    forward = fftwf_plan_dft_r2c_1d(int(inSize), time, bins, FFTW_ESTIMATE);
    inverse = fftwf_plan_dft_c2r_1d(int(outSize), bins, time, FFTW_ESTIMATE);
  }
  std::copy(input.begin(), input.end(), time);
  std::fill(time + input.size(), time + inSize, 0.0f);
  fftwf_execute(forward);
  std::fill(&bins[kept][0], &bins[outSize / 2 + 1][0], 0.0f);
  if (outSize < inSize && outSize % 2 == 0)
    bins[outSize / 2][1] = 0;  // the new Nyquist bin is real
  fftwf_execute(inverse);
  const size_t produced = size_t(double(input.size()) * toRate / fromRate);
  std::vector<float> output(time, time + std::min(produced, outSize));
  for (float& v : output) v /= float(inSize);
  {
    std::lock_guard guard(plannerLock());
    fftwf_destroy_plan(forward);
    fftwf_destroy_plan(inverse);
    fftwf_free(time);
    fftwf_free(bins);
  }
  return output;
}

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
