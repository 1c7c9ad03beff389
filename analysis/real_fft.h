// The forward FFT of real values, with one plan kept per length: building a plan (its
// twiddle factors, a complex exponential each) costs about as much as a transform, and the
// analysis transforms thousands of stretches of a few lengths.
#pragma once
#include <complex>
#include <cstddef>

// The spectrum of length real values (a power of two, at least 4) into length / 2 bins.
// Bin 0 holds the mean in its real part and the Nyquist bin in its imaginary part. The
// plans are kept per thread, so threads may transform at once.
void RealFft(const double* values, size_t length, std::complex<double>* spectrum);
