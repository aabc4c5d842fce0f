#pragma once
// Recognises the device's replies at the start of RxText and hands each to its owner.
//
// Replies arrive in pieces of whatever size the driver delivers; after every delivery the
// dispatcher looks at the start of the text only, by fixed header texts and minimum lengths,
// removes what it used and leaves the rest for the next delivery. What a reply means to an
// exchange in progress is told by the flags the exchange set before it sent its request.
#include <cstdint>
#include <functional>
#include <string>

#include "protocol/send_chain.h"

namespace audiodsp {

// What the running exchanges are waiting for. Each exchange sets its flag before it sends
// and the dispatcher clears it when the awaited reply comes (the search flag excepted,
// which lasts as long as the search).
struct ExchangeFlags {
  bool searchRunning = false;       // device search: record the addresses that answer polls
  bool idChangePending = false;     // ID assignment: awaiting the system acknowledgement
  bool saveAckPending = false;      // preset "Save": awaiting the write acknowledgement
  bool bankSaveMode = false;        // save all groups: collecting stored-group replies
  bool initialDataPending = false;  // initial data from a device: awaiting its group
  bool singleSaveMode = false;      // save one group: awaiting the current group
  bool presetLoadPending = false;   // preset "Load": awaiting the recalled group
  friend bool operator==(const ExchangeFlags&, const ExchangeFlags&) = default;
};

// The owners of the replies. A handler left empty means nobody takes that reply; the
// dispatcher still does its own part (removing text, timers, flags).
struct ReplyHandlers {
  // SystemBlock bytes 0, 1, 2 and the temperature threshold (byte 5) as the device reported
  // them: store them and select the threshold item of RzComboBox9.
  std::function<void(uint8_t lastPreset, uint8_t byte1, uint8_t byte2, uint8_t threshold)> systemBlock;
  // A poll was answered while a search runs: mark SearchHits[PortNumber][ProbedAddress].
  std::function<void()> searchHit;
  std::function<void(const std::string& text)> temperature;  // RzLabel29, beside "Temp:"
  std::function<void(const std::string& text)> attenuation;  // RzLabel32, beside "Attenuation dB :"
  // The ID assignment was acknowledged: start Timer2.
  std::function<void()> idChangeAcknowledged;
  // The preset name store was acknowledged: start Timer11.
  std::function<void()> presetSaveAcknowledged;
  // One stored group (664 characters) for the bank being saved: add it as a line, count it
  // and finish the save at the 20th.
  std::function<void(const std::string& line)> storedGroup;
  // The initial-data source answered: keep the whole text as the upload text, start trunon1.
  std::function<void(const std::string& text)> initialDataGroup;
  // The current group (664 characters) for a single save: offer to save it to a file.
  std::function<void(const std::string& line)> singleSaveGroup;
  // A fresh current group for the editor: ApplyImage (decode, set the controls, recompute
  // the curves, clear the SendTable).
  std::function<void(const std::string& text)> applyImage;
  // After an applied group: disable the device selector RzComboBox6 and port selector RzComboBox1.
  std::function<void()> lockSelectors;
  // The recalled preset arrived: stop Timer22, hide the progress box, lift the exchange lock.
  std::function<void()> presetLoadFinished;
  // The preset names reply (824 characters): fill PresetNames and the two preset lists.
  std::function<void(const std::string& text)> presetNames;
};

class ReplyDispatcher {
 public:
  // The chain brings the link (RxText, transmit), the SendTable and the wire address.
  ReplyDispatcher(SendChain& chain, ExchangeFlags& flags);

  ReplyHandlers handlers;

  // Runs once after every delivery appended to RxText.
  void dispatch();

 private:
  bool systemReply();
  bool pollReply();
  void systemAck();
  void writeAck();
  void storedGroupReply();
  bool currentGroupReply();
  void namesReply();
  void remove(size_t count);

  SendChain& chain_;
  ExchangeFlags& flags_;
};

}  // namespace audiodsp
