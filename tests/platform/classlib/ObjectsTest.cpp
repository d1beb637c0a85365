#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/classlib/Components.h"
#include "platform/classlib/Objects.h"

namespace tarvel {
namespace {

constexpr uint32_t kThemeMessage = 0x800;
constexpr uint32_t kLinkChanged = 0x801;
constexpr uint32_t kPrivate = 0x8BA;

// A subscriber that is no control: it hears messages only through Dispatch.
class Subscriber : public TObject {
    TARVEL_CLASS(Subscriber, TObject)

public:
    std::vector<std::string> heard;

    void DefaultHandler(TMessage& m) override { heard.push_back("default " + std::to_string(m.Msg)); }

protected:
    static void DeclareMessages(TMessageTable& t) {
        t.Add<&Subscriber::ThemeMessage>(kThemeMessage);
        t.Add<&Subscriber::LinkChanged>(kLinkChanged);
    }

    void ThemeMessage(TMessage& m) {
        heard.push_back("theme " + std::to_string(m.WParam));
        m.Result = 1;
    }
    void LinkChanged(TMessage& m) { heard.push_back("link " + std::to_string(m.LParam)); }
};

// Overrides one handler and passes the message on to its parent's handling.
class LoudSubscriber : public Subscriber {
    TARVEL_CLASS(LoudSubscriber, Subscriber)

protected:
    static void DeclareMessages(TMessageTable& t) { t.Add<&LoudSubscriber::ThemeMessage>(kThemeMessage); }

    void ThemeMessage(TMessage& m) {
        heard.push_back("loud");
        DispatchFrom(inherited::StaticClass(), m);
    }
};

// Declares no handlers of its own: it dispatches as its parent does.
class QuietSubscriber : public LoudSubscriber {
    TARVEL_CLASS(QuietSubscriber, LoudSubscriber)
};

TEST(ObjectsTest, ClassIdentityAndInheritance) {
    QuietSubscriber q;
    EXPECT_EQ(q.ClassName(), "QuietSubscriber");
    EXPECT_EQ(q.ClassParent(), LoudSubscriber::StaticClass());
    EXPECT_TRUE(q.InheritsFrom(Subscriber::StaticClass()));
    EXPECT_TRUE(q.InheritsFrom(TObject::StaticClass()));
    EXPECT_TRUE(q.Is<QuietSubscriber>());
    EXPECT_FALSE(q.Is<TComponent>());
    Subscriber s;
    EXPECT_FALSE(s.Is<LoudSubscriber>());
    // Identity comes from the object, not from the static type it is seen as.
    TObject* seen = &q;
    EXPECT_EQ(seen->ClassType(), QuietSubscriber::StaticClass());
}

TEST(ObjectsTest, DispatchReachesTheHandlerForTheNumber) {
    Subscriber s;
    TMessage theme{kThemeMessage, 3, 0, 0};
    s.Dispatch(theme);
    TMessage link{kLinkChanged, 0, 42, 0};
    s.Dispatch(link);
    TMessage other{kPrivate, 0, 0, 0};
    s.Dispatch(other);
    EXPECT_EQ(s.heard, (std::vector<std::string>{"theme 3", "link 42", "default 2234"}));
    EXPECT_EQ(theme.Result, 1);
    EXPECT_EQ(other.Result, 0);
}

TEST(ObjectsTest, DerivedHandlerWinsAndCanPassOnToItsParent) {
    QuietSubscriber q;
    TMessage theme{kThemeMessage, 5, 0, 0};
    q.Dispatch(theme);
    TMessage link{kLinkChanged, 0, 7, 0};
    q.Dispatch(link);
    EXPECT_EQ(q.heard, (std::vector<std::string>{"loud", "theme 5", "link 7"}));
}

TEST(ObjectsTest, ObjectWithoutHandlersIgnoresMessages) {
    TObject plain;
    TMessage m{kThemeMessage, 1, 2, 0};
    plain.Dispatch(m);
    EXPECT_EQ(m.Result, 0);
}

// Theme-like classes made through a class reference, as a registry does.
class Theme : public TObject {
    TARVEL_CLASS(Theme, TObject)

public:
    virtual std::string ThemeName() const = 0;
};

class FlatTheme : public Theme {
    TARVEL_CLASS(FlatTheme, Theme)

public:
    std::string ThemeName() const override { return "Flat"; }
};

class Widget : public TComponent {
    TARVEL_CLASS(Widget, TComponent)

public:
    using TComponent::TComponent;
};

namespace other {
class FlatTheme : public TObject {
    TARVEL_CLASS(FlatTheme, TObject)
};
}  // namespace other

class NeedsTwo : public TObject {
    TARVEL_CLASS(NeedsTwo, TObject)

public:
    NeedsTwo(int, int) {}
};

TEST(ObjectsTest, RegistryCreatesInstancesByName) {
    RegisterClasses({FlatTheme::StaticClass(), Widget::StaticClass()});
    RegisterClass(FlatTheme::StaticClass());  // again: nothing happens

    TClass cls = FindClass("flattheme");  // names ignore case
    ASSERT_EQ(cls, FlatTheme::StaticClass());
    std::unique_ptr<Theme> theme(cls->Create<Theme>());
    EXPECT_EQ(theme->ThemeName(), "Flat");
    EXPECT_EQ(theme->ClassName(), "FlatTheme");

    TComponent owner(nullptr);
    TComponent* w = FindClass("Widget")->Create<TComponent>(&owner);
    EXPECT_TRUE(w->Is<Widget>());
    EXPECT_EQ(w->Owner(), &owner);
    EXPECT_EQ(owner.ComponentCount(), 1);

    UnRegisterClass(FlatTheme::StaticClass());
    EXPECT_EQ(GetClass("FlatTheme"), nullptr);
    UnRegisterClass(Widget::StaticClass());
}

TEST(ObjectsTest, RegistryRefusesWhatItCannotDo) {
    try {
        FindClass("TNoSuchThing");
        FAIL();
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(e.Message(), "Class TNoSuchThing not found");
    }
    EXPECT_THROW(Theme::StaticClass()->Create<Theme>(), EClassError);                  // abstract
    EXPECT_THROW(FlatTheme::StaticClass()->Create<TComponent>(nullptr), EClassError);  // not a component
    EXPECT_TRUE(NeedsTwo::StaticClass()->IsAbstract());  // no constructor a reference can call
    EXPECT_THROW(NeedsTwo::StaticClass()->Create<TObject>(), EClassError);

    // Two different classes may not share a name in the registry.
    RegisterClass(FlatTheme::StaticClass());
    EXPECT_THROW(RegisterClass(other::FlatTheme::StaticClass()), EClassError);
    UnRegisterClass(FlatTheme::StaticClass());
}

}  // namespace
}  // namespace tarvel
