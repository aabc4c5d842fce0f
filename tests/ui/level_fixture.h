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
    // What the end of the start-up search shows.
    for (GroupBox* g : {f().c.GroupBox1, f().c.GroupBox2, f().c.GroupBox3}) g->show();
  }

  Button& button(const std::string& name) { return get<Button>(name); }

  // The port of the demo line opened and read, as the connect command leaves it.
  void openLink() {
    SerialLink& link = f().link;
    link.portMap()[3] = ports.ports().front().path;
    link.setPortNumber(3);
    link.openPort();
    ASSERT_TRUE(link.portOpen());
    link.startReader();
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
