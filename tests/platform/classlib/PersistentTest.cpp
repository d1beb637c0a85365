#include <gtest/gtest.h>

#include "platform/classlib/Persistent.h"

namespace tarvel {
namespace {

class Target : public TPersistent {
    TARVEL_CLASS(Target, TPersistent)

public:
    int value = 0;
};

// Knows how to copy itself into a Target, which knows nothing of it.
class Source : public TPersistent {
    TARVEL_CLASS(Source, TPersistent)

public:
    int value = 42;

protected:
    void AssignTo(TPersistent* dest) override {
        if (auto* t = dynamic_cast<Target*>(dest)) {
            t->value = value;
            return;
        }
        TPersistent::AssignTo(dest);
    }
};

TEST(PersistentTest, AssignFallsBackToTheSourcesAssignTo) {
    Source s;
    Target t;
    t.Assign(&s);
    EXPECT_EQ(t.value, 42);
}

TEST(PersistentTest, PairsNeitherSideKnowsRaiseTheConversionError) {
    struct Case {
        TPersistent* source;
        TPersistent* dest;
        const char* message;
    };
    Source s;
    Target t;
    const Case cases[] = {
        {&t, &s, "Cannot assign a Target to a Source"},
        {&s, &s, "Cannot assign a Source to a Source"},
        {nullptr, &t, "Cannot assign a nil to a Target"},
    };
    for (const auto& c : cases) {
        try {
            c.dest->Assign(c.source);
            ADD_FAILURE() << c.message;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
    }
}

}  // namespace
}  // namespace tarvel
