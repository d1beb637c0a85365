#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/classlib/Components.h"

namespace tarvel {
namespace {

// Records its destruction and every notification it receives.
class Probe : public TComponent {
    TARVEL_CLASS(Probe, TComponent)

public:
    Probe(TComponent* owner, std::string label, std::vector<std::string>* log)
        : TComponent(owner), log_(log) {
        SetName(label);
    }
    // Frees its components while it is still a Probe, so it hears them go.
    ~Probe() override {
        Destroying();
        DestroyComponents();
        log_->push_back("free " + Name());
    }

    // A link to another component that must never dangle.
    Probe* link = nullptr;
    void SetLink(Probe* other) {
        link = other;
        if (other) other->FreeNotification(this);
    }

protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == TOperation::opRemove) {
            // `c` may be half destroyed: only its TComponent part is looked at.
            log_->push_back(Name() + " hears " + c->Name() + " go");
            if (c == link) link = nullptr;
        }
    }
    void Loaded() override {
        const bool wasLoading = ComponentState().Contains(csLoading);
        TComponent::Loaded();
        log_->push_back("loaded " + Name() + (wasLoading ? "" : " twice?"));
    }

private:
    std::vector<std::string>* log_;
};

TEST(ComponentsTest, OwnerFreesItsComponentsLastFirst) {
    std::vector<std::string> log;
    auto* form = new Probe(nullptr, "form", &log);
    auto* a = new Probe(form, "a", &log);
    new Probe(a, "a1", &log);
    new Probe(form, "b", &log);
    EXPECT_EQ(form->ComponentCount(), 2);
    EXPECT_EQ(a->Owner(), form);
    delete form;
    // The whole tree hears of each leaving component, last created first.
    EXPECT_EQ(log, (std::vector<std::string>{"free b", "a1 hears b go", "a hears b go", "form hears b go",
                                             "free a1", "a hears a1 go", "free a", "form hears a go",
                                             "free form"}));
}

TEST(ComponentsTest, FreeingAComponentTellsItsOwnerAndSiblings) {
    std::vector<std::string> log;
    Probe form(nullptr, "form", &log);
    auto* list = new Probe(&form, "list", &log);
    auto* link = new Probe(&form, "link", &log);
    link->link = list;  // no free notification asked: the shared owner still tells it
    delete list;
    EXPECT_EQ(link->link, nullptr);
    EXPECT_EQ(form.ComponentCount(), 1);
    EXPECT_EQ(log, (std::vector<std::string>{"free list", "link hears list go", "form hears list go"}));
}

TEST(ComponentsTest, FreeNotificationReachesAcrossOwners) {
    std::vector<std::string> log;
    Probe mainForm(nullptr, "main", &log);
    Probe detailForm(nullptr, "detail", &log);
    auto* themeLink = new Probe(&mainForm, "themeLink", &log);
    auto* control = new Probe(&detailForm, "control", &log);
    control->SetLink(themeLink);
    EXPECT_TRUE(themeLink->ComponentState().Contains(csFreeNotification));

    log.clear();
    delete themeLink;
    EXPECT_EQ(control->link, nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"free themeLink", "control hears themeLink go",
                                             "main hears themeLink go"}));

    // The link is mutual: freeing the holder leaves nothing behind in the other.
    auto* second = new Probe(&mainForm, "second", &log);
    control->SetLink(second);
    delete control;
    log.clear();
    delete second;
    EXPECT_EQ(log, (std::vector<std::string>{"free second", "main hears second go"}));
}

TEST(ComponentsTest, RemovedFreeNotificationIsNotSent) {
    std::vector<std::string> log;
    Probe a(nullptr, "a", &log);
    {
        Probe b(nullptr, "b", &log);
        a.FreeNotification(&b);
        a.RemoveFreeNotification(&b);
        EXPECT_FALSE(a.ComponentState().Contains(csFreeNotification));
    }
    EXPECT_EQ(log, (std::vector<std::string>{"free b"}));
}

TEST(ComponentsTest, NamesAreIdentifiersUniqueWithinTheOwner) {
    TComponent form(nullptr);
    auto* button = new TComponent(&form);
    button->SetName("TB_Exit");
    auto* edit = new TComponent(&form);
    edit->SetName("Edit1");
    EXPECT_EQ(form.FindComponent("tb_exit"), button);
    EXPECT_EQ(form.FindComponent("Edit1"), edit);
    EXPECT_EQ(form.FindComponent("Missing"), nullptr);
    EXPECT_EQ(form.FindComponent(""), nullptr);

    try {
        edit->SetName("TB_EXIT");
        FAIL();
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), "A component named TB_EXIT already exists");
    }
    const char* bad[] = {"1st", "has blank", "dash-ed", "点"};
    for (const char* name : bad) {
        EXPECT_THROW(edit->SetName(name), EComponentError) << name;
    }
    EXPECT_EQ(edit->Name(), "Edit1");
    button->SetName("tb_exit");  // a change of case only is the same component
    EXPECT_EQ(button->Name(), "tb_exit");

    // A component with a taken name cannot move into the owner.
    TComponent other(nullptr);
    auto* stray = new TComponent(&other);
    stray->SetName("Edit1");
    EXPECT_THROW(form.InsertComponent(stray), EComponentError);
    EXPECT_EQ(stray->Owner(), &other);
}

TEST(ComponentsTest, DestroyingIsVisibleToTheOwnedComponents) {
    std::vector<bool> seen;
    class Watcher : public TComponent {
    public:
        Watcher(TComponent* owner, std::vector<bool>* seen) : TComponent(owner), seen_(seen) {}
        ~Watcher() override { seen_->push_back(ComponentState().Contains(csDestroying)); }

    private:
        std::vector<bool>* seen_;
    };
    auto* form = new TComponent(nullptr);
    new Watcher(form, &seen);
    delete form;
    EXPECT_EQ(seen, std::vector<bool>{true});
}

TEST(ComponentsTest, LoadingScopeMarksTheBuildAndCallsLoadedInOrder) {
    std::vector<std::string> log;
    Probe form(nullptr, "form", &log);
    Probe* list = nullptr;
    {
        TLoadingScope loading(&form);
        list = new Probe(&form, "list", &log);
        new Probe(&form, "link", &log);
        EXPECT_TRUE(list->ComponentState().Contains(csLoading));
        EXPECT_TRUE(list->ComponentState().Contains(csReading));
        loading.Finish();
    }
    EXPECT_EQ(log, (std::vector<std::string>{"loaded form", "loaded list", "loaded link"}));
    EXPECT_FALSE(list->ComponentState().Contains(csLoading));
    EXPECT_FALSE(form.ComponentState().Contains(csReading));

    // Created after the build: no loading state, no Loaded call.
    log.clear();
    auto* late = new Probe(&form, "late", &log);
    EXPECT_TRUE(late->ComponentState().Empty());
}

// Frees its sibling when its build ends, as a list that drops an entry might.
class Dropper : public TComponent {
public:
    using TComponent::TComponent;
    TComponent* victim = nullptr;

protected:
    void Loaded() override {
        TComponent::Loaded();
        delete victim;
    }
};

TEST(ComponentsTest, LoadedMayFreeAComponentNotYetLoaded) {
    std::vector<std::string> log;
    Probe form(nullptr, "form", &log);
    TLoadingScope loading(&form);
    auto* dropper = new Dropper(&form);
    dropper->victim = new Probe(&form, "victim", &log);
    new Probe(&form, "after", &log);
    loading.Finish();
    EXPECT_EQ(log, (std::vector<std::string>{"loaded form", "free victim", "after hears victim go",
                                             "form hears victim go", "loaded after"}));
}

class Counter : public TComponent {
    TARVEL_CLASS(Counter, TComponent)

public:
    using TComponent::TComponent;
    int inserted = 0;

protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == TOperation::opInsert) {
            ++inserted;
            EXPECT_FALSE(c->Is<Counter>()) << "a component still being made is a plain TComponent";
        }
    }
};

TEST(ComponentsTest, OwnerHearsOfInsertions) {
    Counter form(nullptr);
    new Counter(&form);
    new TComponent(&form);
    EXPECT_EQ(form.inserted, 2);
}

TEST(ComponentsTest, AnAbandonedBuildOnlyClearsTheFlags) {
    std::vector<std::string> log;
    Probe form(nullptr, "form", &log);
    Probe* list = nullptr;
    try {
        TLoadingScope loading(&form);
        list = new Probe(&form, "list", &log);
        throw Exception("build failed");
    } catch (const Exception&) {
    }
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(list->ComponentState().Contains(csLoading));
    EXPECT_FALSE(form.ComponentState().Contains(csLoading));
}

TEST(ComponentsTest, DesigningSpreadsToOwnedComponents) {
    TComponent form(nullptr);
    auto* early = new TComponent(&form);
    form.SetDesigning(true);
    auto* late = new TComponent(&form);
    EXPECT_TRUE(early->ComponentState().Contains(csDesigning));
    EXPECT_TRUE(late->ComponentState().Contains(csDesigning));
    form.SetDesigning(false);
    EXPECT_FALSE(late->ComponentState().Contains(csDesigning));
}

}  // namespace
}  // namespace tarvel
