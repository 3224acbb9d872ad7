#pragma once

#include <string>

namespace q93::test {

// A pseudo-terminal pair standing in for a serial line: the slave is the "port" a program
// opens by name, the master is the far end a test reads and writes.
class PseudoTerminal {
public:
    PseudoTerminal();  // raw mode on the slave, master non-blocking
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    int master() const { return master_; }
    const std::string& slaveName() const { return slaveName_; }

    // Writes all bytes to the master side.
    void send(const std::string& bytes);
    // Reads what arrives at the master within timeoutMs, until `count` bytes or the time-out.
    std::string receive(std::size_t count, int timeoutMs);

private:
    int master_ = -1;
    int slave_ = -1;  // held open so the line stays up while the program under test reopens it
    std::string slaveName_;
};

}  // namespace q93::test
