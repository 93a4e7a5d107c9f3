// A serial port whose every answer the test chooses; it records what the link did.
#pragma once

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "link/serial_port.h"

using Bytes = std::vector<uint8_t>;

class ScriptedPort : public kestos::SerialPort {
  public:
    // One entry per read: the bytes that arrive for it.
    std::deque<Bytes> answers;
    std::vector<Bytes> written;
    std::vector<std::string> calls;
    std::vector<unsigned> sleeps;
    bool open_ = false;
    int opens = 0;
    kestos::OpenFailure failure = kestos::OpenFailure::none; // what every open reports

    void open(const char* name) override {
        open_ = true;
        ++opens;
        calls.push_back(std::string("open ") + name);
    }
    void purgeTx() override { calls.push_back("purgeTx"); }
    void purgeRx() override { calls.push_back("purgeRx"); }
    unsigned write(const uint8_t* d, unsigned n) override {
        written.emplace_back(d, d + n);
        calls.push_back("write");
        return n;
    }
    unsigned read(uint8_t* d, unsigned n) override {
        calls.push_back("read " + std::to_string(n));
        if (answers.empty()) return 0;
        Bytes a = answers.front();
        answers.pop_front();
        unsigned k = a.size() < n ? static_cast<unsigned>(a.size()) : n;
        if (k) std::memcpy(d, a.data(), k);
        return k;
    }
    void sleepMs(unsigned ms) override { sleeps.push_back(ms); }
    kestos::OpenFailure openFailure() const override { return failure; }
    void close() override {
        if (open_) calls.push_back("close");
        open_ = false;
    }
};
