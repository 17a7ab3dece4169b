// The fit's baseline columns, which no parameter changes: the model leaves
// them as they are when asked, and the normal matrix that takes their sums
// instead of reading them is that of the columns themselves.

#include "normal_matrix_check.h"
#include "processing/jacobian_factor.h"
#include "processing/line_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

TEST(FitBaseline, ModelLeavesTheBaselineColumnsWhenAsked) {
    for (const TLineShape shape : {TLineShape::Lorentz, TLineShape::Gauss, TLineShape::Voigt}) {
        SCOPED_TRACE(static_cast<int>(shape));
        const TLineModel model{shape, 2, 0.25};
        const int p = model.ParameterCount();
        std::vector<double> params(p, 0.5);
        params[model.SlopeIndex()] = -0.3;
        const std::vector<double> x{-1, -0.4, 0.1, 0.7, 1};
        const int n = static_cast<int>(x.size());
        std::vector<double> full(static_cast<std::size_t>(n) * p, 7);
        std::vector<double> values(n);
        EvaluateModel(model, params.data(), x.data(), n, values.data(), full.data());
        std::vector<double> kept(full.size(), 7);
        std::vector<double> again(n);
        EvaluateModel(model, params.data(), x.data(), n, again.data(), kept.data(), false);
        EXPECT_EQ(again, values);
        for (int j = 0; j < p; ++j)
            for (int i = 0; i < n; ++i) {
                const std::size_t k = static_cast<std::size_t>(j) * n + i;
                const bool baseline = j == model.OffsetIndex() || j == model.SlopeIndex();
                EXPECT_EQ(kept[k], baseline ? 7 : full[k]) << j << ' ' << i;
                if (j == model.OffsetIndex()) {
                    EXPECT_EQ(full[k], 1);
                }
                if (j == model.SlopeIndex()) {
                    EXPECT_EQ(full[k], x[i] - model.Origin);
                }
            }
    }
}

// One line of three parameters and the baseline: the line's products from
// its columns, the baseline's from its sums; one row alone, an even and an
// odd count. A value that is not finite in a line's column is refused; a
// Jacobian of another shape, or of another row count than the sums, is
// taken whole.
TEST(FitBaseline, NormalMatrixWithTheBaselineSumsIsThatOfTheColumns) {
    std::mt19937_64 random(5);
    std::normal_distribution<double> normal(0, 1);
    for (const Eigen::Index rows : {1, 6, 1001}) {
        for (const Eigen::Index columns : {5, 6}) {
            SCOPED_TRACE(columns);
            SCOPED_TRACE(rows);
            Eigen::MatrixXd plain(rows, columns);
            for (Eigen::Index i = 0; i < plain.size(); ++i)
                plain.data()[i] = normal(random) * (1 + i % 5);
            plain.col(columns - 2).setOnes();
            const Eigen::VectorXd s = plain.col(columns - 1);
            const TBaselineColumns baseline{static_cast<double>(rows), s.sum(), s.squaredNorm()};
            TFitJacobian j(plain);
            ASSERT_TRUE(j.FormNormal(&baseline));
            ExpectNormalOfColumns(j, plain);

            // Sums of another row count are not used: the columns are read.
            const TBaselineColumns other{static_cast<double>(rows + 1), 0, 0};
            ASSERT_TRUE(j.FormNormal(&other));
            EXPECT_NEAR(j.NormalLower()(columns - 1, columns - 1), s.squaredNorm(),
                        1e-12 * s.squaredNorm());

            for (const double bad : {std::nan(""), 1e200}) {
                TFitJacobian broken = plain;
                broken(rows - 1, 1) = bad;
                EXPECT_FALSE(broken.FormNormal(&baseline)) << bad;
            }
        }
    }
}
