#pragma once
// The device search: each port of the port list is opened in turn and the keep-alive poll goes to
// one address after another; the reply dispatcher marks every address that answers while the
// search runs. The start-up search covers addresses 0..9 with 500 ms per address, the full search
// ("search device id") addresses 0..255 with 100 ms per address. Hits are listed by COM number and
// by the device number the operator uses (address + 1).
#include <array>
#include <bitset>
#include <cstdint>
#include <vector>

#include "platform/timer.h"
#include "ui/main_form.h"

namespace audiodsp {

class DeviceSearch : public FormPart {
 public:
  static constexpr int kPortRows = 256;  // SearchHits rows: COM numbers 0..255
  static constexpr int kAddresses = 256;

  explicit DeviceSearch(MainForm& form);

  void fullSearch();     // "search device id" (ID1Click)
  void startupSearch();  // Timer124Timer
  void showResultBox();  // "search result" (N14Click)

  // SearchHits: the address answered on the port of that COM number in the last search.
  bool hit(int port, int address) const;

  Button* Button8;  // "search device id"
  Button* Button9;  // "search result"
  Button* Button2;  // "Cancel"
  Label* RzLabel6;  // "search result :" or "search result :none     "
  Memo* Memo1;      // the hits, five to a line
  Timer Timer124;   // runs the start-up search once, right after the window is shown

 private:
  struct Sweep {
    int addresses;
    uint32_t waitMs;  // before each probe
    bool stopOnPortError;
  };
  void sweep(const Sweep& sweep);
  void probe(int address);
  void mark();
  void listResults(int portLimit, int addressLimit);
  void appendEntry(int port, int address);
  void lockWindow(bool locked);

  MainForm& form_;
  std::array<std::bitset<kAddresses>, kPortRows> hits_{};
  int probedAddress_ = 0;  // ProbedAddress
  bool cancel_ = false;    // SearchCancel
  int found_ = 0;
};

}  // namespace audiodsp
