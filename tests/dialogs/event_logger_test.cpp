#include "dialogs/event_logger.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "system/registry.h"
#include "tests/system/fake_machine.h"
#include "tests/system/fake_registry.h"

namespace setuvane {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr char kKey[] = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\";

class FakeEventSources : public EventSources {
 public:
  bool opens = true;
  std::vector<std::string> calls;
  std::optional<Handle> Register(const std::string& name) override {
    calls.push_back("Register " + name);
    if (!opens) return std::nullopt;
    return ++next_;
  }
  void ReportError(Handle source, const std::string& text) override {
    calls.push_back("Report " + std::to_string(source) + " " + text);
  }
  void Deregister(Handle source) override { calls.push_back("Deregister " + std::to_string(source)); }

 private:
  Handle next_ = 0;
};

class EventLoggerTest : public ::testing::Test {
 protected:
  fakes::FakeMachine machine;
  fakes::FakeRegistry registry;
  ScopedMachine scopedMachine{machine};
  ScopedRegistry scopedRegistry{registry};
  FakeEventSources sources;
};

TEST_F(EventLoggerTest, ProcessNameIsUndefinedWhenEmpty) {
  TEventLogger logger(sources);
  EXPECT_EQ(logger.ProcessName(), "Undefined");
  logger.SetProcessName("Instalator");
  EXPECT_EQ(logger.ProcessName(), "Instalator");
  logger.SetProcessName("");
  EXPECT_EQ(logger.ProcessName(), "Undefined");
  EXPECT_FALSE(logger.Enabled());
}

TEST_F(EventLoggerTest, RegistersANewSourceOnceAndWritesOnlyWhenOpen) {
  {
    TEventLogger logger(sources);
    logger.SetProcessName("Instalator");
    logger.Write("przed otwarciem");
    logger.Open();
    EXPECT_TRUE(logger.Enabled());
    logger.Write("Problem: [a] [b]");
  }
  const std::string key = std::string(kKey) + "Instalator";
  EXPECT_EQ(registry.Text(key, "EventMessageFile"), "E:\\INSTALL\\SETUVANE.EXE");
  EXPECT_EQ(registry.Dword(key, "TypesSupported"), 7u);
  EXPECT_THAT(sources.calls, ElementsAre("Register Instalator", "Report 1 Problem: [a] [b]", "Deregister 1"));
  EXPECT_THAT(registry.openHandles, IsEmpty());

  // The key exists now: a second logger writes nothing to the registry.
  registry.values.clear();
  TEventLogger again(sources);
  again.SetProcessName("Instalator");
  again.Open();
  EXPECT_THAT(registry.values, IsEmpty());
  EXPECT_TRUE(again.Enabled());
}

TEST_F(EventLoggerTest, WithoutTheRightToRegisterTheSourceStillOpens) {
  registry.refusedKeys = {std::string(kKey) + "Undefined"};
  TEventLogger logger(sources);
  logger.Open();
  EXPECT_TRUE(logger.Enabled());
  EXPECT_THAT(registry.values, IsEmpty());
}

TEST_F(EventLoggerTest, FailedValueWriteLeavesTheSourceClosed) {
  registry.refusedNames = {"TypesSupported"};
  TEventLogger logger(sources);
  try {
    logger.Open();
    FAIL() << "no error";
  } catch (const ERegistryError& error) {
    EXPECT_STREQ(error.what(), "Failed to set data for 'TypesSupported'");
  }
  EXPECT_FALSE(logger.Enabled());
  EXPECT_THAT(sources.calls, IsEmpty());
  EXPECT_THAT(registry.openHandles, IsEmpty());
}

TEST_F(EventLoggerTest, NoHandleMeansNoEntries) {
  sources.opens = false;
  TEventLogger logger(sources);
  logger.Open();
  logger.Write("nic");
  EXPECT_FALSE(logger.Enabled());
  EXPECT_THAT(sources.calls, ElementsAre("Register Undefined"));
}

}  // namespace
}  // namespace setuvane
