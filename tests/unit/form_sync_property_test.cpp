#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "fakes.h"
#include "sync/address.h"
#include "sync/sync_command.h"
#include "ui/form.h"

namespace {

const wchar_t* const kAddresses[] = {L"127.0.0.1", L"10.0.0.9", L"192.168.1.1"};

// What the user, the timers, the pool and the consent thread may do to the
// form, in any order. An end names any echo or command, old, current or not
// yet sent.
struct Event {
  enum Kind { Click, Ticks, EchoEnd, PromptEnd, CommandEnd, Type } kind;
  int count;  // ticks; or which echo, command or address
  std::chrono::milliseconds step;
  bool flag;  // answered; exit code 0; the status prober
  ElevatedStart start;
};

void showValue(const Event& event, std::ostream& os) {
  static const char* const kNames[] = {"Click",     "Ticks",      "EchoEnd",
                                       "PromptEnd", "CommandEnd", "Type"};
  os << kNames[event.kind] << "(" << event.count << ", " << event.step.count() << " ms, "
     << event.flag << ", " << static_cast<int>(event.start) << ")";
}

rc::Gen<Event> AnyEvent() {
  return rc::gen::apply(
      [](Event::Kind kind, int count, int stepMs, bool flag, ElevatedStart start) {
        return Event{kind, count, std::chrono::milliseconds(stepMs), flag, start};
      },
      rc::gen::element(Event::Click, Event::Ticks, Event::EchoEnd, Event::PromptEnd,
                       Event::CommandEnd, Event::Type),
      rc::gen::inRange(0, 62), rc::gen::element(0, 999, 1000, 59000), rc::gen::arbitrary<bool>(),
      rc::gen::element(ElevatedStart::Started, ElevatedStart::Declined, ElevatedStart::Failed));
}

// What anyone could see of the form and of what it asked the system to do.
struct Seen {
  std::size_t probes, commands, prompts;
  int endedCommands, tooltipSets;
  std::wstring caption, tooltip, trayTip;
  bool operator==(const Seen&) const = default;
};

class SyncScene : public FakedForm {
 public:
  SyncScene(std::optional<ClockRight> right, bool startable) {
    clockRight.right = right;
    system.startable = startable;
    // Each net.exe that fails ends the attempt at once, as where SNTP cannot
    // be asked: the events here are the echo's, the prompt's and net.exe's.
    system.sntpAskable = false;
    file.Edit({{L"网络配置", L"服务器路径", kAddresses[0]}, {L"系统配置", L"校时间隔", L"1"}});
    form.Form_Load();
  }

  Seen Now() const {
    return {system.probes.size(),
            system.startedCommands.size(),
            system.elevatedArguments.size(),
            system.endedCommands,
            view.tooltipSets,
            view.网络时间,
            view.tooltip,
            system.trayTip};
  }

  // Every ending shows the reason under the status label.
  int Outcomes() const { return view.tooltipSets; }
  std::size_t SyncProbes() const { return system.ProbesFor(ProbeFor::Sync); }
  std::size_t Commands() const {
    return system.startedCommands.size() + system.elevatedArguments.size();
  }
  bool Open() const { return SyncProbes() > static_cast<std::size_t>(Outcomes()); }
};

// Follows one scene event by event and checks each step against the rules.
class SyncRules {
 public:
  explicit SyncRules(SyncScene& scene) : scene_(scene) {}

  void Apply(const Event& event) {
    switch (event.kind) {
      case Event::Click: Click(); break;
      case Event::Ticks:
        for (int i = 0; i < event.count; ++i) Tick(event.step);
        break;
      case Event::EchoEnd: EchoEnd(event); break;
      case Event::PromptEnd: PromptEnd(event); break;
      case Event::CommandEnd: CommandEnd(event); break;
      case Event::Type: scene_.view.address = kAddresses[event.count % 3]; break;
    }
    RC_ASSERT(scene_.SyncProbes() >= static_cast<std::size_t>(scene_.Outcomes()));
    RC_ASSERT(scene_.SyncProbes() <= static_cast<std::size_t>(scene_.Outcomes()) + 1);
  }

 private:
  void Click() {
    const bool wasOpen = scene_.Open();
    const auto before = Count();
    scene_.form.Command2_Click();
    Followed(before);
    RC_ASSERT(scene_.Outcomes() == before.outcomes);
    RC_ASSERT(scene_.SyncProbes() == before.probes + (wasOpen ? 0 : 1));
  }

  void Tick(std::chrono::milliseconds step) {
    const bool wasOpen = scene_.Open();
    const auto before = Count();
    scene_.system.now += step;
    scene_.form.Timer2_Timer();
    Followed(before);
    const int ended = scene_.Outcomes() - before.outcomes;
    RC_ASSERT(ended <= (wasOpen ? 1 : 0));
    if (scene_.SyncProbes() > before.probes) RC_ASSERT(!wasOpen || ended == 1);
  }

  void EchoEnd(const Event& event) {
    const EchoTicket echo = EchoNamed(event.count);
    const bool current =
        scene_.Open() && scene_.Commands() == commandsAtProbe_ && echo == lastProbe_;
    const auto before = Count();
    const Seen seen = scene_.Now();
    scene_.form.ProbeHost_Completed(echo, event.flag);
    if (!current) {
      RC_ASSERT(scene_.Now() == seen);
      return;
    }
    Followed(before);
    const int ended = scene_.Outcomes() - before.outcomes;
    const int started = static_cast<int>(scene_.Commands() - before.commands);
    if (!event.flag) RC_ASSERT(started == 0);
    RC_ASSERT(ended + started == 1);
  }

  void PromptEnd(const Event& event) {
    const std::uint32_t command = CommandNamed(event.count);
    const bool current = scene_.Open() && promptUp_ && command == scene_.system.lastCommand;
    const auto before = Count();
    const Seen seen = scene_.Now();
    scene_.form.ConsentPrompt_Ended(command, event.start);
    if (!current || event.start == ElevatedStart::Started) {
      RC_ASSERT(scene_.Now() == seen);
      if (current) promptUp_ = false;
      return;
    }
    promptUp_ = false;
    RC_ASSERT(scene_.Outcomes() == before.outcomes + 1);
  }

  void CommandEnd(const Event& event) {
    const std::uint32_t command = CommandNamed(event.count);
    const bool current = scene_.Open() && scene_.Commands() > commandsAtProbe_ &&
                         command == scene_.system.lastCommand;
    const auto before = Count();
    const Seen seen = scene_.Now();
    scene_.form.SyncCommand_Ended({command, event.flag ? 0u : 2u, L""});
    if (!current) {
      RC_ASSERT(scene_.Now() == seen);
      return;
    }
    RC_ASSERT(scene_.Outcomes() == before.outcomes + 1);
  }

  // Mostly the last echo sent; else an older one, or one of either prober
  // never sent.
  EchoTicket EchoNamed(int choice) const {
    const auto& echoes = scene_.system.echoes;
    const auto pick = static_cast<std::size_t>(choice / 2) % (echoes.size() + 1);
    if (!echoes.empty() && choice % 2 == 0) return echoes.back();
    if (pick < echoes.size()) return echoes[pick];
    return {choice % 4 == 1 ? ProbeFor::Status : ProbeFor::Sync,
            static_cast<std::uint32_t>(echoes.size() + 1)};
  }

  // The command before the last, the last, or one not started yet.
  std::uint32_t CommandNamed(int choice) const {
    return scene_.system.lastCommand + static_cast<std::uint32_t>(choice % 3) - 1;
  }

  struct Tally {
    std::size_t probes, commands, prompts;
    int outcomes;
  };
  Tally Count() const {
    return {scene_.SyncProbes(), scene_.Commands(), scene_.system.elevatedArguments.size(),
            scene_.Outcomes()};
  }

  // A probe goes to the text in the box; a command, to the text probed.
  void Followed(const Tally& before) {
    if (scene_.SyncProbes() > before.probes) {
      addressAtProbe_ = scene_.view.address;
      lastProbe_ = scene_.system.echoes.back();
      commandsAtProbe_ = scene_.Commands();
      promptUp_ = false;
      RC_ASSERT(scene_.system.probes.back().second == *ping::DottedQuadToAddress(addressAtProbe_));
    }
    if (scene_.system.startedCommands.size() + scene_.system.elevatedArguments.size() ==
        before.commands)
      return;
    RC_ASSERT(scene_.SyncProbes() == before.probes);
    if (scene_.system.elevatedArguments.size() > before.prompts) {
      promptUp_ = true;
      RC_ASSERT(scene_.system.elevatedArguments.back() == SyncCommandArguments(addressAtProbe_));
    } else {
      RC_ASSERT(scene_.system.startedCommands.back() == BuildSyncCommandLine(addressAtProbe_));
    }
  }

  SyncScene& scene_;
  std::wstring addressAtProbe_;
  EchoTicket lastProbe_{ProbeFor::Sync, 0};
  std::size_t commandsAtProbe_ = 0;
  bool promptUp_ = false;
};

// Under any sequence of clicks, ticks, echo ends, prompt ends and command
// ends: one attempt at a time; a command only after its own echo answered,
// against the address probed; each attempt ends once; a late end of
// anything changes nothing.
RC_GTEST_PROP(FormSync, OneAttemptAtATimeEachEndedOnceLateEndsChangeNothing, ()) {
  const auto right = *rc::gen::element<std::optional<ClockRight>>(
      ClockRight{.held = true}, ClockRight{.canElevate = true}, ClockRight{}, std::nullopt);
  SyncScene scene(right, *rc::gen::weightedElement<bool>({{9, true}, {1, false}}));
  SyncRules rules(scene);
  for (const Event& event : *rc::gen::container<std::vector<Event>>(AnyEvent())) {
    RC_LOG() << rc::toString(event) << "\n";
    rules.Apply(event);
  }
}

}  // namespace
