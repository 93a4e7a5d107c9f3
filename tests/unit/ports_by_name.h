// The simulated controller behind several port names: it answers on the ones a test names,
// is silent on the others, and a port named busy will not open, as one another program holds.
#pragma once

#include <set>
#include <string>

#include "link/serial_port.h"
#include "sim/sim_port.h"

class PortsByName final : public kestos::SerialPort {
  public:
    PortsByName(kestos::sim::Controller& c, kestos::sim::SimSerialPort& p,
                std::set<std::string> answering, std::set<std::string> busy = {})
        : controller(c), port(p), answering_(std::move(answering)), busy_(std::move(busy)) {}
    void open(const char* name) override {
        port.refuseOpen = busy_.count(name) != 0;
        controller.faults.silent = answering_.count(name) == 0;
        port.open(name);
    }
    void purgeTx() override { port.purgeTx(); }
    void purgeRx() override { port.purgeRx(); }
    unsigned write(const uint8_t* d, unsigned n) override { return port.write(d, n); }
    unsigned read(uint8_t* d, unsigned n) override { return port.read(d, n); }
    void sleepMs(unsigned ms) override { port.sleepMs(ms); }
    void close() override { port.close(); }
    const char* lastError() const override { return port.refuseOpen ? "in use" : ""; }
    kestos::OpenFailure openFailure() const override {
        return port.refuseOpen ? kestos::OpenFailure::busy : kestos::OpenFailure::none;
    }
    kestos::sim::Controller& controller;
    kestos::sim::SimSerialPort& port;

  private:
    std::set<std::string> answering_, busy_;
};
