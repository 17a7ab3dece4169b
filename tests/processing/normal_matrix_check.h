// What a formed Jacobian must give the optimiser: the lower triangle of JᵀJ
// of its columns, and each column's norm.
#pragma once

#include "processing/jacobian_factor.h"

#include <gtest/gtest.h>

inline void ExpectNormalOfColumns(const TFitJacobian& j, const Eigen::MatrixXd& plain) {
    const Eigen::MatrixXd expected = plain.transpose() * plain;
    const Eigen::MatrixXd lower = j.NormalLower().triangularView<Eigen::Lower>();
    EXPECT_LT((lower - Eigen::MatrixXd(expected.triangularView<Eigen::Lower>())).norm(),
              1e-12 * expected.norm());
    for (Eigen::Index c = 0; c < plain.cols(); ++c)
        EXPECT_NEAR(j.col(c).blueNorm(), plain.col(c).norm(), 1e-12 * plain.col(c).norm());
}
