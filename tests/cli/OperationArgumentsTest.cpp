#include "cli/CliOperation.h"

#include <clocale>
#include <gtest/gtest.h>

namespace halvera {
namespace {

TEST(OperationArguments, ReadsCheckedIntegers) {
    const OperationArguments arguments({"brightness=-40", "contrast=100"});
    EXPECT_EQ(arguments.integer("brightness", -100, 100), -40);
    EXPECT_EQ(arguments.integer("contrast", -100, 100), 100);
    EXPECT_THROW(arguments.integer("contrast", -100, 99), UsageError);
    EXPECT_THROW(arguments.integer("missing", 0, 1), UsageError);
    EXPECT_EQ(arguments.integer("missing", 0, 10, 7), 7);
}

TEST(OperationArguments, RefusesMalformedNumbers) {
    const OperationArguments arguments({"a=", "b=12x", "c=1.5", "d= 3", "e=99999999999"});
    for (const char* name : {"a", "b", "c", "d", "e"})
        EXPECT_THROW(arguments.integer(name, -1000, 1000), UsageError) << name;
}

TEST(OperationArguments, ReadsRealsWhateverTheLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "de_DE.UTF-8"); // when present: its decimal mark is a comma
    const OperationArguments arguments({"angle=1.5", "bad=1,5", "big=1e400", "neg=-0.25"});
    EXPECT_EQ(arguments.real("angle", 0.0, 2.0), 1.5);
    EXPECT_EQ(arguments.real("neg", -1.0, 1.0), -0.25);
    EXPECT_THROW(arguments.real("bad", 0.0, 2.0), UsageError);
    EXPECT_THROW(arguments.real("big", 0.0, 2.0), UsageError);
    EXPECT_THROW(arguments.real("angle", 0.0, 1.0), UsageError);
    std::setlocale(LC_ALL, previous.c_str());
}

TEST(OperationArguments, ReadsAListOfExactlyTheCountGiven) {
    const OperationArguments arguments({"points=1,2,3,4", "short=1,2", "wide=1,300,2,3"});
    EXPECT_EQ(arguments.integers("points", 4, 0, 10), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_THROW(arguments.integers("short", 4, 0, 10), UsageError);
    EXPECT_THROW(arguments.integers("wide", 4, 0, 10), UsageError);
}

TEST(OperationArguments, RefusesWordsThatAreNotNameValuePairs) {
    EXPECT_THROW(OperationArguments({"strength"}), UsageError);
    EXPECT_THROW(OperationArguments({"=3"}), UsageError);
    EXPECT_THROW(OperationArguments({"a=1", "a=2"}), UsageError);
    EXPECT_NO_THROW(OperationArguments({"text=a=b"}));
}

TEST(OperationArguments, RejectsNamesNoGetterAskedFor) {
    const OperationArguments arguments({"used=1", "asked=2", "text=hello", "extra=3"});
    arguments.integer("used", 0, 9);
    EXPECT_TRUE(arguments.has("asked"));
    EXPECT_FALSE(arguments.has("absent"));
    EXPECT_EQ(arguments.text("text"), "hello");
    try {
        arguments.rejectUnused();
        FAIL() << "extra was not rejected";
    } catch (const UsageError& error) {
        EXPECT_NE(std::string(error.what()).find("extra"), std::string::npos);
    }
    arguments.integer("extra", 0, 9);
    EXPECT_NO_THROW(arguments.rejectUnused());
}

TEST(OperationRegistry, FindsEveryListedOperationByName) {
    const std::vector<const CliOperation*> all = AllOperations();
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.front()->name, "none");
    for (const CliOperation* operation : all) {
        EXPECT_EQ(FindOperation(operation->name), operation);
        EXPECT_EQ(operation->usage.substr(0, operation->name.size()), operation->name);
    }
    EXPECT_EQ(FindOperation("no-such-operation"), nullptr);
}

} // namespace
} // namespace halvera
