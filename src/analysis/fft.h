#pragma once
// A real-input transform of one fixed size, planned once (FFTW).
#include <complex>
#include <vector>

namespace analysis {

class RealFft {
 public:
  explicit RealFft(int size);
  ~RealFft();
  RealFft(const RealFft&) = delete;
  RealFft& operator=(const RealFft&) = delete;

  int size() const { return size_; }
  // The n/2 + 1 bins of `input` (size() samples).
  const std::complex<float>* forward(const float* input);
  // size() samples from n/2 + 1 bins, unscaled (times size()).
  const float* inverse(const std::complex<float>* bins);

 private:
  int size_;
  float* real_;
  std::complex<float>* bins_;
  void* forwardPlan_;
  void* inversePlan_;
};

// `input` at `fromRate` brought to `toRate` through its spectrum: every
// frequency below both Nyquist limits kept, none folded back.
std::vector<float> resampleBySpectrum(const std::vector<float>& input, int fromRate, int toRate);

}  // namespace analysis
