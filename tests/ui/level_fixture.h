#pragma once
// The main window with its regions shown, for the level and crossover editors: helpers to type into a
// field, leave it, open the link to the simulated line without the connect handshake, and read the
// frame a send-table slot holds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls.h"
#include "support/form_fixture.h"

namespace audiodsp::testing {

class LevelFormTest : public ::testing::Test, protected FormFixture {
 protected:
  using Bytes = std::vector<uint8_t>;

  LevelFormTest() {
    open();
    // The start-up search: over once the line has been quiet for a second.
    for (int i = 0; i < 60; ++i) {
      sent.clear();
      run(1000);
      if (sent.empty()) break;
    }
    EXPECT_TRUE(sent.empty());
    EXPECT_TRUE(f().c.GroupBox1->visible());
  }

  Button& button(const std::string& name) { return get<Button>(name); }

  // The port of the demo line opened and read, as the connect command leaves it, but without the
  // handshake, so the editor keeps its start-up values.
  void openLink() {
    SerialLink& link = f().link;
    link.portMap()[3] = ports.ports().front().path;
    link.setPortNumber(3);
    link.openPort();
    ASSERT_TRUE(link.portOpen());
    link.startReader();
  }

  // The open link with the keep-alive poll and the send chain running, the editor at its start values.
  void connect() {
    openLink();
    f().chain.startPolling();
    run(1250);  // the edits then fall between two polls

    ASSERT_TRUE(f().portOpen());
    sent.clear();
  }

  Bytes slot(int s) {
    const auto& frame = f().sendTable.frame(s);
    return {frame.begin(), frame.end()};
  }
  bool pending(int s) { return f().sendTable.pending(s); }

  // Click into the field, select all and type.
  void typeInto(Edit& field, const std::string& text) {
    field.userClick();
    field.selectAll();
    field.userType(text);
  }
  // The focus leaves the field, as clicking elsewhere does.
  void leave() { f().form.clearFocus(); }
};

}  // namespace audiodsp::testing
