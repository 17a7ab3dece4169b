#pragma once

// The factorisation of a tall Jacobian that Eigen's Levenberg-Marquardt
// module asks of its QRSolver (a functor names it): the triangular factor R
// and the column permutation of J P = Q R, the rank, and Q^T applied to the
// residuals. Its default, a pivoted Householder QR of the whole m x n
// Jacobian, copies that matrix three times and works through it column by
// column on every iteration; for a spectrum of 65 520 points and 18
// parameters this is several times the cost of evaluating the model. Here
// R comes from the Cholesky factor of the column-scaled normal matrix
// D J^T J D = R_s^T R_s (R = R_s D^-1), one blocked pass over J, and
// Q^T f = R^-T J^T f; the optimiser itself is unchanged. Squaring the
// condition number is harmless for a well-posed fit; a Jacobian whose scaled
// normal matrix is not comfortably positive definite (two lines on top of
// each other, a parameter the data do not fix) goes to the pivoted
// Householder QR, which also finds its rank. Only the line fit includes
// this header.
//
// The normal matrix is formed once per Jacobian, where the fit's functor
// evaluates it (TFitJacobian), and serves the optimiser twice: its diagonal
// gives the column norms the optimiser scales the parameters by, which it
// would otherwise compute with an overflow-safe but scalar pass per column
// (blueNorm), and the factor reads it instead of forming it again.

#include <Eigen/Dense>

#include <algorithm>
#include <cmath>
#include <optional>

// Rows first..last (a multiple of two apart) of the products of columns
// Lo..Hi-1 with every column before them, added into sums; the rows go in
// pairs, a pair's two products of a column pair filling one vector
// register (the compiler may not reorder a floating-point sum into vector
// lanes by itself).
template <int N, int Lo, int Hi>
void AddNormalBand(const double* j, Eigen::Index m, Eigen::Index first, Eigen::Index last,
                   Eigen::Array2d (&sums)[N][N]) {
    Eigen::Array2d band[Hi][Hi];
    for (int a = Lo; a < Hi; ++a)
        for (int b = 0; b <= a; ++b)
            band[a][b] = sums[a][b];
    for (Eigen::Index i = first; i < last; i += 2) {
        Eigen::Array2d row[Hi];
        for (int a = 0; a < Hi; ++a)
            row[a] = Eigen::Map<const Eigen::Array2d>(j + a * m + i);
        for (int a = Lo; a < Hi; ++a)
            for (int b = 0; b <= a; ++b)
                band[a][b] += row[a] * row[b];
    }
    for (int a = Lo; a < Hi; ++a)
        for (int b = 0; b <= a; ++b)
            sums[a][b] = band[a][b];
}

// The lower triangle of the normal matrix of N columns of m rows: every
// row's N values give all N(N+1)/2 products, each summed in an accumulator
// of its own. The products go in two bands of columns, each over a slice of
// rows that stays in the level-1 cache, so that a band's accumulators fit
// the vector registers.
template <int N> void NormalOfFewColumns(const double* j, Eigen::Index m, Eigen::MatrixXd& normal) {
    constexpr Eigen::Index SliceRows = 512;
    constexpr int Split = N / 2 + 1;
    Eigen::Array2d sums[N][N];
    for (int a = 0; a < N; ++a)
        for (int b = 0; b <= a; ++b)
            sums[a][b].setZero();
    const Eigen::Index paired = m - m % 2;
    for (Eigen::Index first = 0; first < paired; first += SliceRows) {
        const Eigen::Index last = std::min(first + SliceRows, paired);
        AddNormalBand<N, 0, Split>(j, m, first, last, sums);
        AddNormalBand<N, Split, N>(j, m, first, last, sums);
    }
    for (int a = 0; a < N; ++a)
        for (int b = 0; b <= a; ++b) {
            double sum = sums[a][b].sum();
            if (paired < m)
                sum += j[a * m + paired] * j[b * m + paired];
            normal(a, b) = sum;
        }
}

// J^T f of N columns of m rows in one pass over the rows, in pairs as
// above: each row of f is read once for every column, not once per column.
template <int N>
void TransposedProductOfFewColumns(const double* j, Eigen::Index m, const double* f,
                                   Eigen::VectorXd& product) {
    Eigen::Array2d sums[N];
    for (int a = 0; a < N; ++a)
        sums[a].setZero();
    const Eigen::Index paired = m - m % 2;
    for (Eigen::Index i = 0; i < paired; i += 2) {
        const Eigen::Array2d fi = Eigen::Map<const Eigen::Array2d>(f + i);
        for (int a = 0; a < N; ++a)
            sums[a] += Eigen::Map<const Eigen::Array2d>(j + a * m + i) * fi;
    }
    for (int a = 0; a < N; ++a)
        product[a] = sums[a].sum() + (paired < m ? j[a * m + paired] * f[paired] : 0.0);
}

// The fit's baseline columns, its last two: all ones, and the abscissae s.
// They are the same at every iteration, so the products among them (the
// row count, the sum of s and of its squares) are taken once per fit.
struct TBaselineColumns {
    double Count = 0;
    double Sum = 0;
    double SumOfSquares = 0;
};

// The lower triangle of the normal matrix of one line's three columns and
// the baseline's two, in one pass over the rows in pairs as above: the
// products among the line's columns and with s, and the line's column sums
// (its products with the ones, which are not read).
inline void NormalOfOneLineAndBaseline(const double* j, Eigen::Index m,
                                       const TBaselineColumns& baseline, Eigen::MatrixXd& normal) {
    constexpr int L = 3;
    const double* s = j + (L + 1) * m;
    Eigen::Array2d line[L][L];
    Eigen::Array2d sums[L];
    Eigen::Array2d withS[L];
    for (int a = 0; a < L; ++a) {
        sums[a].setZero();
        withS[a].setZero();
        for (int b = 0; b <= a; ++b)
            line[a][b].setZero();
    }
    const Eigen::Index paired = m - m % 2;
    for (Eigen::Index i = 0; i < paired; i += 2) {
        Eigen::Array2d row[L];
        for (int a = 0; a < L; ++a)
            row[a] = Eigen::Map<const Eigen::Array2d>(j + a * m + i);
        const Eigen::Array2d si = Eigen::Map<const Eigen::Array2d>(s + i);
        for (int a = 0; a < L; ++a) {
            for (int b = 0; b <= a; ++b)
                line[a][b] += row[a] * row[b];
            sums[a] += row[a];
            withS[a] += row[a] * si;
        }
    }
    for (int a = 0; a < L; ++a) {
        const bool odd = paired < m;
        for (int b = 0; b <= a; ++b)
            normal(a, b) = line[a][b].sum() + (odd ? j[a * m + paired] * j[b * m + paired] : 0.0);
        normal(L, a) = sums[a].sum() + (odd ? j[a * m + paired] : 0.0);
        normal(L + 1, a) = withS[a].sum() + (odd ? j[a * m + paired] * s[paired] : 0.0);
    }
    normal(L, L) = baseline.Count;
    normal(L + 1, L) = baseline.Sum;
    normal(L + 1, L + 1) = baseline.SumOfSquares;
}

// The normal matrix J^T J of n columns; the lower triangle is filled. The
// blocked product packs its operands first, which costs more than it saves
// for the few columns of one or two lines: the five or six columns of one
// line take all their products in one pass over the rows, up to eight run
// as dot products over slices of rows that stay in the level-1 cache while
// every pair of columns is taken.
inline Eigen::MatrixXd NormalMatrix(const Eigen::MatrixXd& j) {
    constexpr Eigen::Index FewColumns = 8;
    constexpr Eigen::Index SliceRows = 256;
    const Eigen::Index n = j.cols();
    Eigen::MatrixXd normal = Eigen::MatrixXd::Zero(n, n);
    if (n == 5) {
        NormalOfFewColumns<5>(j.data(), j.rows(), normal);
    } else if (n == 6) {
        NormalOfFewColumns<6>(j.data(), j.rows(), normal);
    } else if (n <= FewColumns) {
        for (Eigen::Index start = 0; start < j.rows(); start += SliceRows) {
            const Eigen::Index rows = std::min(SliceRows, j.rows() - start);
            for (Eigen::Index a = 0; a < n; ++a)
                for (Eigen::Index b = 0; b <= a; ++b)
                    normal(a, b) +=
                        j.col(a).segment(start, rows).dot(j.col(b).segment(start, rows));
        }
    } else {
        normal.selfadjointView<Eigen::Lower>().rankUpdate(j.transpose());
    }
    return normal;
}

// The Jacobian as the optimiser holds it, with its normal matrix. The
// functor fills the matrix and then calls FormNormal(); any other
// assignment drops the normal matrix. The optimiser reads a column's norm
// as col(j).blueNorm(), which here is the square root of the normal
// matrix's diagonal while that is known.
class TFitJacobian : public Eigen::MatrixXd {
public:
    using Base = Eigen::MatrixXd;

    TFitJacobian() = default;
    template <typename Other> TFitJacobian(const Eigen::MatrixBase<Other>& other) : Base(other) {}
    template <typename Other> TFitJacobian& operator=(const Eigen::MatrixBase<Other>& other) {
        Base::operator=(other);
        Normal.resize(0, 0);
        return *this;
    }

    // Forms the normal matrix; false when a value of the Jacobian is not
    // finite (or so large that its square is not). With the baseline's
    // sums, the last two columns are taken to be the baseline's, all ones
    // and the abscissae, and are not read for their products with each
    // other (nor the ones at all, for one line of three parameters).
    bool FormNormal(const TBaselineColumns* baseline = nullptr) {
        if (baseline && cols() == 5 && rows() == static_cast<Eigen::Index>(baseline->Count)) {
            Normal.setZero(5, 5);
            NormalOfOneLineAndBaseline(data(), rows(), *baseline, Normal);
            // A value that is not finite in a line's column makes its
            // diagonal so; the baseline's are finite by construction.
            return Normal.diagonal().allFinite();
        }
        Normal = NormalMatrix(*this);
        return Normal.diagonal().allFinite();
    }
    // Empty when not formed for the present values.
    const Eigen::MatrixXd& NormalLower() const { return Normal; }

    using TConstColumn = Eigen::Block<const Eigen::MatrixXd, Eigen::Dynamic, 1, true>;
    class TColumn : public TConstColumn {
    public:
        TColumn(const Eigen::MatrixXd& m, Eigen::Index j, double norm)
            : TConstColumn(m, j), Norm(norm) {}
        double blueNorm() const { return Norm >= 0 ? Norm : TConstColumn::blueNorm(); }

    private:
        double Norm; // negative: not known
    };
    TColumn col(Eigen::Index j) const {
        const bool known = Normal.rows() == cols() && j < Normal.rows();
        return TColumn(*this, j, known ? std::sqrt(std::max(Normal(j, j), 0.0)) : -1.0);
    }

private:
    Eigen::MatrixXd Normal;
};

class TJacobianFactor {
public:
    using MatrixType = Eigen::MatrixXd;
    using Scalar = double;
    using StorageIndex = int;
    using Permutation = Eigen::PermutationMatrix<Eigen::Dynamic, Eigen::Dynamic, int>;

    explicit TJacobianFactor(const Eigen::MatrixXd& jacobian)
        : TJacobianFactor(jacobian, NormalMatrix(jacobian)) {}
    explicit TJacobianFactor(const TFitJacobian& jacobian)
        : TJacobianFactor(jacobian, jacobian.NormalLower().rows() == jacobian.cols()
                                        ? jacobian.NormalLower()
                                        : NormalMatrix(jacobian)) {}

    TJacobianFactor(const Eigen::MatrixXd& jacobian, const Eigen::MatrixXd& normal) : J(jacobian) {
        const Eigen::Index n = J.cols();
        const Eigen::VectorXd diagonal = normal.diagonal();
        if (diagonal.allFinite() && (diagonal.array() > 0).all()) {
            D = diagonal.cwiseSqrt().cwiseInverse();
            const Eigen::MatrixXd scaled = D.asDiagonal() *
                                           Eigen::MatrixXd(normal.selfadjointView<Eigen::Lower>()) *
                                           D.asDiagonal();
            const Eigen::LLT<Eigen::MatrixXd> llt(scaled);
            if (llt.info() == Eigen::Success) {
                Rs = llt.matrixU();
                const Eigen::VectorXd d = Rs.diagonal();
                if (d.allFinite() && d.minCoeff() > MinPivotRatio * d.maxCoeff()) {
                    R = Rs * D.cwiseInverse().asDiagonal();
                    P.setIdentity(n);
                    Rank = n;
                    Info = Eigen::Success;
                    return;
                }
            }
        }
        Householder.emplace(J);
        R = Householder->matrixR().topLeftCorner(n, n).triangularView<Eigen::Upper>();
        P = Householder->colsPermutation();
        Rank = Householder->rank();
        Info = Householder->info();
    }

    const Eigen::MatrixXd& matrixR() const { return R; }
    const Permutation& colsPermutation() const { return P; }
    Eigen::Index rank() const { return Rank; }
    Eigen::ComputationInfo info() const { return Info; }

    // The first n values of Q^T applied to m residuals, all the optimiser
    // reads of it (the vector it assigns them to takes n values, and the
    // fit's functor sizes it again before it writes residuals there).
    struct TTransposedQ {
        const TJacobianFactor* Factor;
        TTransposedQ adjoint() const { return *this; }
        Eigen::VectorXd operator*(const Eigen::VectorXd& f) const { return Factor->ApplyQt(f); }
    };
    TTransposedQ matrixQ() const { return {this}; }

private:
    // Below this ratio of the smallest to the largest diagonal of R_s the
    // scaled Jacobian's condition number passes about 10^6 and the normal
    // equations would lose more than half of the digits.
    static constexpr double MinPivotRatio = 1e-6;

    Eigen::VectorXd ApplyQt(const Eigen::VectorXd& f) const {
        const Eigen::Index n = R.cols();
        if (Householder)
            return (Householder->householderQ().adjoint() * f).head(n);
        // J^T f in one pass for the columns of one line, as n dot products
        // for more: Eigen's product of a transposed tall matrix and a
        // vector runs several times slower for few columns.
        Eigen::VectorXd g(n);
        if (n == 5 && f.size() == J.rows()) {
            TransposedProductOfFewColumns<5>(J.data(), J.rows(), f.data(), g);
        } else if (n == 6 && f.size() == J.rows()) {
            TransposedProductOfFewColumns<6>(J.data(), J.rows(), f.data(), g);
        } else {
            for (Eigen::Index a = 0; a < n; ++a)
                g[a] = J.col(a).dot(f);
        }
        g = D.cwiseProduct(g);
        return Rs.transpose().triangularView<Eigen::Lower>().solve(g);
    }

    const Eigen::MatrixXd& J;
    Eigen::VectorXd D;
    Eigen::MatrixXd Rs;
    Eigen::MatrixXd R;
    Permutation P;
    Eigen::Index Rank = 0;
    Eigen::ComputationInfo Info = Eigen::NumericalIssue;
    std::optional<Eigen::ColPivHouseholderQR<Eigen::MatrixXd>> Householder;
};
