#pragma once

#include <cstdint>
#include <gtest/gtest.h>
#include <hwy/targets.h>
#include <string>

namespace halvera::testing {

// A parameterised test that runs once for each instruction set the vector
// kernels are compiled for, with every kernel dispatched to that one set for
// the length of the test. Derive a fixture from it and instantiate the fixture
// with HALVERA_ON_EACH_INSTRUCTION_SET.
class OnEachInstructionSet : public ::testing::TestWithParam<int64_t> {
protected:
    void SetUp() override { hwy::SetSupportedTargetsForTest(GetParam()); }
    void TearDown() override { hwy::SetSupportedTargetsForTest(0); }
};

// The instruction set's name ("AVX2", "SSE4", ...) as the test's name.
inline std::string InstructionSetName(const ::testing::TestParamInfo<int64_t>& target) {
    return hwy::TargetName(target.param);
}

} // namespace halvera::testing

#define HALVERA_ON_EACH_INSTRUCTION_SET(fixture)                                                   \
    INSTANTIATE_TEST_SUITE_P(EachInstructionSet, fixture,                                          \
                             ::testing::ValuesIn(hwy::SupportedAndGeneratedTargets()),             \
                             ::halvera::testing::InstructionSetName)
