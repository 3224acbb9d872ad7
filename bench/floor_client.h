#pragma once

#include <string>
#include <vector>

namespace q93::bench {

// One exchange of a transfer: the command text and how many frames the encoder sends back
// over TCP (the acknowledgement, and the data answer of a query).
struct Exchange {
    std::string text;
    int framesBack;
};

// The exchanges of the three measured transfers, built from the transfer tables.
std::vector<Exchange> presetReadExchanges(int presetNumber);
std::vector<Exchange> presetWriteExchanges(int presetNumber);
std::vector<Exchange> deviceReadExchanges();

// The plainest client that can do the same work: a blocking socket, one send per request
// and reads until the expected end bytes have arrived. Seconds for the whole list, or a
// negative value when the encoder cannot be reached or stops answering.
double plainTcpSeconds(const std::string& host, int port, const std::vector<Exchange>& exchanges);

}  // namespace q93::bench
