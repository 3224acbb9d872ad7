#include "sim/fault_plan.h"

#include <charconv>

namespace q93::sim {

namespace {

struct FaultName {
    const char* name;
    FaultKind kind;
    bool perRequest;  // N first; otherwise the one number is milliseconds
    int defaultAmount;
};

constexpr FaultName kNames[] = {
    {"drop-answer", FaultKind::DropAnswer, true, 0}, {"drop-ack", FaultKind::DropAck, true, 0},
    {"wrong-code", FaultKind::WrongCode, true, 0},   {"bad-crc", FaultKind::BadCrc, true, 0},
    {"garbage", FaultKind::Garbage, true, 16},       {"no-end", FaultKind::NoEnd, true, 0},
    {"oversize", FaultKind::Oversize, true, 512},    {"close", FaultKind::Close, true, 0},
    {"delay", FaultKind::Delay, false, 0},           {"trickle", FaultKind::Trickle, false, 0},
};

bool readNumber(std::string_view text, int& value) {
    if (text.empty())
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::optional<Fault> parseFault(std::string_view text, std::string* error) {
    const std::size_t colon = text.find(':');
    const std::string_view name = text.substr(0, colon);
    for (const FaultName& entry : kNames) {
        if (name != entry.name)
            continue;
        if (colon == std::string_view::npos) {
            if (error)
                *error = "fault '" + std::string(text) + "' needs a number after ':'";
            return std::nullopt;
        }
        std::string_view rest = text.substr(colon + 1);
        std::string_view second;
        const std::size_t colon2 = rest.find(':');
        if (colon2 != std::string_view::npos) {
            second = rest.substr(colon2 + 1);
            rest = rest.substr(0, colon2);
        }
        Fault fault;
        fault.kind = entry.kind;
        int first = 0;
        if (!readNumber(rest, first) || first < (entry.perRequest ? 1 : 0)) {
            if (error)
                *error =
                    "fault '" + std::string(text) + "': bad number '" + std::string(rest) + "'";
            return std::nullopt;
        }
        const bool takesSecond =
            entry.kind == FaultKind::Garbage || entry.kind == FaultKind::Oversize;
        if (!second.empty() || colon2 != std::string_view::npos) {
            int extra = 0;
            if (!takesSecond || !readNumber(second, extra) || extra < 1 || extra > 65536) {
                if (error)
                    *error = "fault '" + std::string(text) + "': bad second number";
                return std::nullopt;
            }
            fault.amount = extra;
        } else {
            fault.amount = entry.defaultAmount;
        }
        if (entry.perRequest) {
            fault.request = first;
        } else {
            fault.amount = first;
        }
        if (fault.kind == FaultKind::Oversize && fault.amount < 32) {
            if (error)
                *error = "fault '" + std::string(text) + "': size below 32 bytes";
            return std::nullopt;
        }
        return fault;
    }
    if (error)
        *error = "unknown fault '" + std::string(text) + "'";
    return std::nullopt;
}

std::string describeFault(const Fault& fault) {
    for (const FaultName& entry : kNames) {
        if (entry.kind != fault.kind)
            continue;
        if (!entry.perRequest)
            return std::string(entry.name) + ":" + std::to_string(fault.amount);
        std::string text = std::string(entry.name) + ":" + std::to_string(fault.request);
        if (fault.kind == FaultKind::Garbage || fault.kind == FaultKind::Oversize) {
            text += ":" + std::to_string(fault.amount);
        }
        return text;
    }
    return "?";
}

const char* faultHelp() {
    return "  drop-answer:N   request N is acknowledged but its data answer is not sent; a "
           "command\n"
           "                  without a data answer loses its acknowledgement instead\n"
           "  drop-ack:N      the acknowledgement of request N is not sent (its answer is)\n"
           "  wrong-code:N    the answer's first payload byte is wrong: 2d->3c, 3b->3c, 3c->3b,\n"
           "                  0d->2d; without a data answer the acknowledgement's 18 becomes 19\n"
           "  bad-crc:N       every frame of the reply to request N has a wrong checksum\n"
           "  garbage:N[:C]   C bytes (default 16, never a start byte) before the reply to request "
           "N\n"
           "  no-end:N        the last frame of the reply to request N is sent without its end "
           "byte\n"
           "  oversize:N[:S]  the data answer (or the ack) of request N is padded with zero bytes\n"
           "                  to S bytes on the wire (default 512), the value offsets unchanged\n"
           "  close:N         request N gets no reply: on TCP the connection is closed (the "
           "server\n"
           "                  goes on accepting); on the pty the line goes silent from then on\n"
           "  delay:MS        every frame sent (acknowledgement or answer) waits MS ms first\n"
           "  trickle:MS      every byte sent is followed by a pause of MS ms\n"
           "  N counts every request with a good checksum from 1, over all connections and both\n"
           "  transports; --fault may be given more than once, and faults of one N combine.\n";
}

std::vector<Fault> FaultPlan::faultsFor(int n) const {
    std::vector<Fault> out;
    for (const Fault& f : faults_) {
        if (f.request == n && f.request > 0)
            out.push_back(f);
    }
    return out;
}

bool FaultPlan::has(int n, FaultKind kind) const {
    for (const Fault& f : faults_) {
        if (f.request == n && f.kind == kind)
            return true;
    }
    return false;
}

int FaultPlan::amount(int n, FaultKind kind) const {
    for (const Fault& f : faults_) {
        if (f.request == n && f.kind == kind)
            return f.amount;
    }
    return 0;
}

int FaultPlan::delayMs() const {
    int ms = 0;
    for (const Fault& f : faults_) {
        if (f.kind == FaultKind::Delay)
            ms = f.amount;
    }
    return ms;
}

int FaultPlan::trickleMs() const {
    int ms = 0;
    for (const Fault& f : faults_) {
        if (f.kind == FaultKind::Trickle)
            ms = f.amount;
    }
    return ms;
}

}  // namespace q93::sim
