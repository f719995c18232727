// vx2200sim: a stand-in for the VX2200 recorder on the network, for
// development, tests and demonstrations. Runs until SIGINT or SIGTERM.
#include "platform/parseint.h"
#include "sim/recordersim.h"

#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int EXIT_USAGE = 64;

struct FaultArg {
    std::string strCode;
    SimFault fault = SimFault::None;
    int nTimes = -1;
};

void Usage()
{
    std::cerr << "usage: vx2200sim [--port N] [--bind ADDR] [--cameras N] [--start \"YYYY-MM-DD hh:mm:ss\"]\n"
                 "                 [--accept-menu-always] [--single-disk] [--clients N] [--fault CODE=KIND[:N]]... [--trace]\n"
                 "fault kinds: " << SimFaultNames() << "\n";
}

// CODE=KIND or CODE=KIND:N
bool ParseFault(const std::string& strText, FaultArg& arg)
{
    const std::size_t nEq = strText.find('=');
    if (nEq == std::string::npos || nEq == 0)
        return false;
    arg.strCode = strText.substr(0, nEq);
    std::string strKind = strText.substr(nEq + 1);
    const std::size_t nColon = strKind.find(':');
    if (nColon != std::string::npos) {
        if (!ParseInt(strKind.substr(nColon + 1), 1, 1000000, arg.nTimes))
            return false;
        strKind.resize(nColon);
    }
    return ParseSimFault(strKind, arg.fault);
}

bool ParseArgs(int argc, char** argv, CRecorderSim::Options& options, std::vector<FaultArg>& faults)
{
    for (int i = 1; i < argc; ++i) {
        const std::string strArg = argv[i];
        const bool bHasValue = i + 1 < argc;
        if (strArg == "--port" && bHasValue) {
            if (!ParseInt(argv[++i], 0, 65535, options.nPort))
                return false;
        } else if (strArg == "--bind" && bHasValue) {
            options.strBindAddress = argv[++i];
        } else if (strArg == "--cameras" && bHasValue) {
            if (!ParseInt(argv[++i], 1, 16, options.nCameras))
                return false;
        } else if (strArg == "--start" && bHasValue) {
            SimDateTime start;
            if (!SimDateTime::Parse(argv[++i], start))
                return false;
            options.start = start;
        } else if (strArg == "--accept-menu-always") {
            options.bAcceptMenuAlways = true;
        } else if (strArg == "--single-disk") {
            options.bSingleDisk = true;
        } else if (strArg == "--clients" && bHasValue) {
            if (!ParseInt(argv[++i], 1, CRecorderSim::MAX_CLIENTS, options.nMaxClients))
                return false;
        } else if (strArg == "--fault" && bHasValue) {
            FaultArg arg;
            if (!ParseFault(argv[++i], arg))
                return false;
            faults.push_back(arg);
        } else if (strArg == "--trace") {
            options.pTraceStream = &std::cerr;
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    CRecorderSim::Options options;
    std::vector<FaultArg> faults;
    if (!ParseArgs(argc, argv, options, faults)) {
        Usage();
        return EXIT_USAGE;
    }
    // The serving thread inherits this mask; the signals are taken below.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    CRecorderSim sim(options);
    for (const FaultArg& f : faults)
        sim.SetFault(f.strCode, f.fault, f.nTimes);
    if (!sim.Start()) {
        std::cerr << "vx2200sim: cannot listen on " << options.strBindAddress << " port " << options.nPort << "\n";
        return 1;
    }
    std::cout << "port " << sim.Port() << std::endl;
    int nSignal = 0;
    sigwait(&signals, &nSignal);
    sim.Stop();
    return 0;
}
