#include "analysis/real_fft.h"

#include <kissfft.hh>

#include <map>
#include <memory>

void RealFft(const double* values, size_t length, std::complex<double>* spectrum) {
  thread_local std::map<size_t, std::unique_ptr<kissfft<double>>> plans;
  std::unique_ptr<kissfft<double>>& plan = plans[length / 2];
  if (!plan) plan = std::make_unique<kissfft<double>>(length / 2, false);
  plan->transform_real(values, spectrum);
}
