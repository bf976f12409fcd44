#include "core/XProxyParam.h"

#include "support/ParamTestSupport.h"
#include "XStringPrinter.h"
#include "core/StringParam.h"
#include "core/XMessageCodes.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

using ParamTest::Desc;
using ParamTest::FakeHost;
using ParamTest::Recorder;

namespace
{
constexpr int32_t kSet = static_cast<int32_t>(XMsgCode::kParamValueSet);
constexpr int32_t kChanged = static_cast<int32_t>(XMsgCode::kParamChangedByUser);

std::vector<int32_t> vetoPhases;
bool AllowBelowEight(XParam* param, double* value, int32_t user, int32_t phase)
{
    vetoPhases.push_back(phase);
    return phase != 1 || *value < 8.0;
}

/** A proxy over three 0..10 links chosen by a 0..3 selector, wired as an owner wires it. */
class XProxyParamTest : public ::testing::Test
{
protected:
    XProxyParamTest()
    {
        for (int i = 0; i < 3; ++i)
        {
            links.push_back(std::make_unique<FloatParam>(Desc(XParamDesc::kTypeInteger, 0, 10, 5, 11)));
            proxy->AddLink(links.back().get());
            links.back()->AddWatcher(proxy.get(), 0, false);
        }
        proxy->SetSelector(selector.get());
        selector->AddWatcher(proxy.get(), 0, true);
        proxy->AddWatcher(&watcher, 7, false);
    }

    FakeHost host;
    Recorder watcher; // outlives the proxy, which tells it 1000006
    std::unique_ptr<FloatParam> selector =
        std::make_unique<FloatParam>(Desc(XParamDesc::kTypeInteger, 0, 3, 0, 4));
    std::vector<std::unique_ptr<FloatParam>> links;
    std::unique_ptr<XProxyParam> proxy = std::make_unique<XProxyParam>();
};
} // namespace

TEST_F(XProxyParamTest, ForwardsToTheSelectedLink)
{
    ASSERT_EQ(proxy->GetTarget(), links[0].get());
    EXPECT_EQ(proxy->GetType(), XParamDesc::kTypeInteger);
    EXPECT_EQ(proxy->GetValueKind(), XParam::kKindProxy);
    EXPECT_EQ(proxy->GetId(), -1);
    EXPECT_EQ(proxy->GetName(), "");
    EXPECT_EQ(proxy->GetSelf(), links[0].get());
    EXPECT_TRUE(proxy->SetValue(7, true));
    EXPECT_DOUBLE_EQ(links[0]->GetValue(), 7.0);
    EXPECT_TRUE(proxy->ChangeValue(3, true));
    EXPECT_EQ(proxy->GetText(), "3");
    EXPECT_EQ(proxy->GetCount(), 11u);
    EXPECT_DOUBLE_EQ(proxy->GetMax(), 10.0);
    // The proxy's watchers hear the target's own notifications, as they were.
    EXPECT_EQ(watcher.Codes(), (std::vector<int32_t>{kSet, kChanged}));
    links[1]->SetValue(1, true); // not the target
    EXPECT_EQ(watcher.Codes().size(), 2u);
}

TEST_F(XProxyParamTest, SelectorNotifiesOnlyWhenTheTargetDiffers)
{
    selector->SetValue(1, true); // equal ranges and values: silent
    EXPECT_EQ(proxy->GetTarget(), links[1].get());
    EXPECT_TRUE(watcher.Codes().empty());
    links[2]->SetValue(9, false);
    selector->SetValue(2, true);
    EXPECT_EQ(proxy->GetTarget(), links[2].get());
    EXPECT_EQ(watcher.Codes(), std::vector<int32_t>{kSet});
    EXPECT_DOUBLE_EQ(proxy->GetValue(), 9.0);

    watcher.Clear();
    selector->SetValue(3, true); // past the links: no target
    EXPECT_EQ(proxy->GetTarget(), nullptr);
    EXPECT_EQ(watcher.Codes(), std::vector<int32_t>{kSet});
}

TEST_F(XProxyParamTest, AnswersNeutrallyAfterTheSelectorGoes)
{
    selector.reset();
    EXPECT_EQ(proxy->GetSelector(), nullptr);
    EXPECT_EQ(proxy->GetTarget(), nullptr);
    EXPECT_DOUBLE_EQ(proxy->GetValue(), 0.0);
    EXPECT_DOUBLE_EQ(proxy->GetMin(), 0.0);
    EXPECT_DOUBLE_EQ(proxy->GetMax(), 1.0);
    EXPECT_EQ(proxy->GetCount(), 1u);
    EXPECT_EQ(proxy->GetText(), "");
    EXPECT_EQ(proxy->GetDisplayText(), "");
    EXPECT_EQ(proxy->GetType(), XParamDesc::kTypeProxy);
    EXPECT_FALSE(proxy->IsToggle());
    EXPECT_FALSE(proxy->SetValue(1, true));
    EXPECT_FALSE(proxy->StepBy(1, true));
    EXPECT_EQ(proxy->GetSelf(), nullptr);
    // A link destroyed later reaches a proxy that no longer has a target: nothing happens.
    links[0].reset();
    EXPECT_DOUBLE_EQ(proxy->GetValue(), 0.0);
}

TEST_F(XProxyParamTest, DropsATargetThatIsDestroyed)
{
    links[0].reset();
    EXPECT_EQ(proxy->GetTarget(), nullptr);
    EXPECT_EQ(proxy->GetSelector(), selector.get());
    selector->SetValue(1, true);
    EXPECT_EQ(proxy->GetTarget(), links[1].get());
}

TEST_F(XProxyParamTest, ImmediateSetsOfTheTargetReachTheProxysWatchersDirectly)
{
    EXPECT_TRUE(links[0]->SetValueNow(2, true));
    EXPECT_EQ(watcher.Notes(), (std::vector<ParamTest::Note>{{kSet, proxy.get(), 7}}));
}

TEST_F(XProxyParamTest, WithAVetoTheProxyInterpretsEventsAndStopsAtTheEnds)
{
    vetoPhases.clear();
    proxy->SetVetoCallback(AllowBelowEight, 0);
    links[0]->SetValue(9, false);
    EXPECT_TRUE(proxy->BeginEdit()); // the veto's answer; the target is not told
    EXPECT_FALSE(links[0]->IsEditing());
    XParamEvent step{XParamEvent::kMoveSteps, 5.0f, 0, 0};
    EXPECT_FALSE(proxy->ApplyEvent(&step)); // past the end to index 11, which the veto refuses
    EXPECT_DOUBLE_EQ(links[0]->GetValue(), 9.0);
    XParamEvent back{XParamEvent::kMoveSteps, -20.0f, 0, 0};
    EXPECT_TRUE(proxy->ApplyEvent(&back)); // stops at index 0, no wrap
    EXPECT_DOUBLE_EQ(links[0]->GetValue(), 0.0);
    XParamEvent position{XParamEvent::kSetPosition, 0.5f, 0, 0};
    EXPECT_TRUE(proxy->ApplyEvent(&position));
    EXPECT_DOUBLE_EQ(links[0]->GetValue(), 5.0);
    proxy->EndEdit();
    EXPECT_EQ(vetoPhases, (std::vector<int32_t>{0, 1, 1, 1, 2}));
    EXPECT_FALSE(proxy->IsEditing());
}

TEST_F(XProxyParamTest, WithoutAVetoEventsGoToTheTarget)
{
    XParamEvent step{XParamEvent::kMoveSteps, 1.0f, 0, 0};
    EXPECT_TRUE(proxy->ApplyEvent(&step));
    EXPECT_DOUBLE_EQ(links[0]->GetValue(), 6.0);
}

TEST_F(XProxyParamTest, TextTargetsCompareByText)
{
    Recorder textWatcher;
    StringParam first;
    StringParam second;
    first.SetText("abc", false);
    second.SetText("ABC", false);
    XProxyParam textProxy;
    textProxy.AddLink(&first);
    textProxy.AddLink(&second);
    FloatParam textSelector(Desc(XParamDesc::kTypeInteger, 0, 1, 0, 2));
    textProxy.SetSelector(&textSelector);
    textSelector.AddWatcher(&textProxy, 0, true);
    textProxy.AddWatcher(&textWatcher, 0, false);
    textSelector.SetValue(1, true);
    EXPECT_EQ(textWatcher.Codes(), std::vector<int32_t>{kSet}); // "abc" and "ABC" differ
    EXPECT_EQ(textProxy.GetText(), "ABC");
}
