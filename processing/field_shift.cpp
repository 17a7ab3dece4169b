#include "processing/field_shift.h"

#include <unsupported/Eigen/FFT>

#include <algorithm>
#include <complex>
#include <numeric>

namespace {

// The trace less its mean, zero-padded to m points.
std::vector<double> Centred(const std::vector<double>& v, std::size_t m) {
    const double mean = std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
    std::vector<double> out(m, 0.0);
    std::transform(v.begin(), v.end(), out.begin(), [mean](double x) { return x - mean; });
    return out;
}

} // namespace

double CrossCorrelationLag(const std::vector<double>& s, const std::vector<double>& r, int maxLag) {
    const std::size_t n = std::min(s.size(), r.size());
    if (n < 3 || maxLag < 1)
        return 0;
    maxLag = std::min(maxLag, static_cast<int>(n) - 2);

    // Padded to at least twice the length, so that the circular correlation
    // of the FFT holds the linear one for every lag.
    std::size_t m = 1;
    while (m < 2 * n)
        m *= 2;
    Eigen::FFT<double> fft;
    std::vector<std::complex<double>> a;
    std::vector<std::complex<double>> b;
    fft.fwd(a, Centred(std::vector<double>(s.begin(), s.begin() + n), m));
    fft.fwd(b, Centred(std::vector<double>(r.begin(), r.begin() + n), m));
    for (std::size_t k = 0; k < m; ++k)
        a[k] *= std::conj(b[k]);
    std::vector<double> c;
    fft.inv(c, a);

    // c[L] = sum over i of s[i] r[i - L]; a negative lag sits at m + L.
    auto at = [&](int lag) { return c[lag >= 0 ? lag : static_cast<int>(m) + lag]; };
    int best = 0;
    for (int lag = -maxLag; lag <= maxLag; ++lag) {
        if (at(lag) > at(best))
            best = lag;
    }
    if (!(at(best) > 0))
        return 0; // flat traces, or no lag where they agree
    if (best == -maxLag || best == maxLag)
        return best;
    const double left = at(best - 1);
    const double middle = at(best);
    const double right = at(best + 1);
    const double curvature = left - 2 * middle + right;
    return curvature < 0 ? best + 0.5 * (left - right) / curvature : best;
}
