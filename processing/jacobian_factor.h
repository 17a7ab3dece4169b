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

#include <Eigen/Dense>

#include <optional>

class TJacobianFactor {
public:
    using MatrixType = Eigen::MatrixXd;
    using Scalar = double;
    using StorageIndex = int;
    using Permutation = Eigen::PermutationMatrix<Eigen::Dynamic, Eigen::Dynamic, int>;

    explicit TJacobianFactor(const Eigen::MatrixXd& jacobian) : J(jacobian) {
        const Eigen::Index n = J.cols();
        Eigen::MatrixXd normal = Eigen::MatrixXd::Zero(n, n);
        if (n <= FewColumns) {
            // A handful of columns: their dot products cost less than the
            // packing of the blocked product.
            for (Eigen::Index a = 0; a < n; ++a)
                for (Eigen::Index b = 0; b <= a; ++b)
                    normal(a, b) = J.col(a).dot(J.col(b));
        } else {
            normal.selfadjointView<Eigen::Lower>().rankUpdate(J.transpose());
        }
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

    // Q^T applied to m residuals; the optimiser reads the first n values.
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
    static constexpr Eigen::Index FewColumns = 8;

    Eigen::VectorXd ApplyQt(const Eigen::VectorXd& f) const {
        if (Householder)
            return Householder->householderQ().adjoint() * f;
        Eigen::VectorXd out = Eigen::VectorXd::Zero(f.size());
        const Eigen::VectorXd g = D.asDiagonal() * (J.transpose() * f);
        out.head(R.cols()) = Rs.transpose().triangularView<Eigen::Lower>().solve(g);
        return out;
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
