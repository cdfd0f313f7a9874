// The rows of the fault campaign: which exchange of steps 2, 5 or 7 misbehaves and what the
// wizard must make of it. The campaign (fault_campaign_test.cpp) runs each in virtual time; the
// soak (bench/soak_bench.cpp) draws from them against vq-sim.
#pragma once

namespace vq::test {

enum class Flash { Old, Any, New };  // the controller's flash once the row's step has ended

struct Fault {
  int step;           // 2, 5 or 7
  const char* fault;  // device faults, ';' between two; "cts-off" and "dsr-on" are line faults
  int code;           // what the step ends with; 0 = it rides the fault out
  Flash flash;
};

// Bounds: boot replies are awaited from the end of the frame on the line (3000 ms for commands,
// 65535 ms erase, 318 ms per write block, 1088 ms completion, 4162 and 4193 ms security, 100 ms
// per verify block); the device answers a little after that (0.5 ms commands, 1 s erase, 2 ms
// a write block, 20 ms the completion, 30 and 50 ms security, 0.3 ms a verify block). The link
// repeats a request every 10 ms and gives up at the 11th tick without an accepted reply.
// Bytes behind a reply that come in a later read (here with an adapter that hands over every
// byte at once) are taken as the head of the next reply: (1) the link waits for a frame of the
// length they announce and the batch runs out of repeats; (2) the next boot exchange judges
// them, and fails with its own stage's code. Either way the message is clear and Next again
// completes the update.
inline constexpr Fault kCampaign[] = {
    // Step 2: the parameter read.
    {2, "i127:drop", 0, Flash::Old},
    {2, "i127#1+0:drop", 12, Flash::Old},
    {2, "i127#2+0:drop", 12, Flash::Old},  // PC mode never left: the retry must cope
    {2, "i1:corrupt", 0, Flash::Old},
    {2, "i1#1+0:corrupt", 12, Flash::Old},
    {2, "i2#1+0:status=10", 12, Flash::Old},
    {2, "i4#1+3:status=51", 0, Flash::Old},
    {2, "i2#1+0:status=51", 12, Flash::Old},  // busy for a minute: given up like silence
    {2, "i5#1:status=51;i5#2+0:drop", 12, Flash::Old},
    {2, "i5:pieces=1/1", 0, Flash::Old},
    {2, "i6:trail=3", 12, Flash::Old},  // (1)
    {2, "i1:delay=5", 0, Flash::Old},
    {2, "i1#1+0:delay=95", 0, Flash::Old},  // late answers to the repeats are not answers
    {2, "i1#1+0:delay=115", 12, Flash::Old},
    {2, "cts-off", 13, Flash::Old},
    {2, "dsr-on", 0, Flash::Old},
    // Step 5: connect, clock, baud rate and its confirming reset.
    {5, "reset:drop", 33, Flash::Old},
    {5, "reset:corrupt", 0, Flash::Old},
    {5, "reset#1+0:corrupt", 32, Flash::Old},
    {5, "reset:status=15", 0, Flash::Old},
    {5, "reset#1+0:status=15", 32, Flash::Old},
    {5, "reset:delay=2990", 0, Flash::Old},
    {5, "reset:delay=3000", 33, Flash::Old},
    {5, "reset:pieces=1/1", 0, Flash::Old},
    {5, "reset:trail=2", 34, Flash::Old},  // (2): the clock status misread
    {5, "dsr-on", 31, Flash::Old},
    {5, "cts-off", 0, Flash::Old},
    {5, "clock:drop", 33, Flash::Old},
    {5, "clock:corrupt", 34, Flash::Old},
    {5, "clock:status=05", 34, Flash::Old},
    {5, "clock:delay=2990", 0, Flash::Old},
    {5, "clock:delay=3000", 33, Flash::Old},
    {5, "clock:pieces=1/1", 0, Flash::Old},
    {5, "clock:trail=2", 30, Flash::Old},  // (2): a LEN out of reach, then
    {5, "reset#2:drop", 33, Flash::Old},
    {5, "reset#2:corrupt", 0, Flash::Old},
    {5, "reset#2+0:corrupt", 32, Flash::Old},
    {5, "reset#2+0:status=15", 32, Flash::Old},
    {5, "reset#2:delay=2990", 0, Flash::Old},
    {5, "reset#2:delay=3000", 33, Flash::Old},
    {5, "reset#2:pieces=1/1", 0, Flash::Old},
    // Erase and the programming command.
    {5, "erase:drop", 33, Flash::Any},
    {5, "erase:corrupt", 35, Flash::Any},
    {5, "erase:status=1A", 35, Flash::Any},
    {5, "erase:delay=64500", 0, Flash::Any},
    {5, "erase:delay=64540", 33, Flash::Any},
    {5, "erase:pieces=1/1", 0, Flash::Any},
    {5, "erase:trail=2", 36, Flash::Any},  // (2)
    {5, "wcmd:drop", 33, Flash::Any},
    {5, "wcmd:corrupt", 36, Flash::Any},
    {5, "wcmd:status=10", 36, Flash::Any},
    {5, "wcmd:delay=2990", 0, Flash::Any},
    {5, "wcmd:delay=3000", 33, Flash::Any},
    {5, "wcmd:trail=2", 36, Flash::Any},  // (2)
    // Write blocks: the first, one in the middle, the last, and the completion status.
    {5, "wdata:drop", 33, Flash::Any},
    {5, "wdata:corrupt", 36, Flash::Any},
    {5, "wdata:status=06,1B", 36, Flash::Any},
    {5, "wdata:status=18", 36, Flash::Any},
    {5, "wdata:delay=310", 0, Flash::Any},
    {5, "wdata:delay=316", 33, Flash::Any},
    {5, "wdata:pieces=1/2", 0, Flash::Any},
    {5, "wdata:trail=2", 36, Flash::Any},  // (2)
    {5, "wdata#256:drop", 33, Flash::Any},
    {5, "wdata#256:corrupt", 36, Flash::Any},
    {5, "wdata#512:drop", 33, Flash::Any},
    {5, "wdata#512:corrupt", 36, Flash::Any},
    {5, "wdata#512:status=06,1B", 36, Flash::Any},
    {5, "wdata#512:delay=310", 0, Flash::Any},
    {5, "wdata#512:delay=316", 33, Flash::Any},
    {5, "wdata#512:join", 0, Flash::Any},
    {5, "wdone:drop", 33, Flash::Any},
    {5, "wdone:corrupt", 36, Flash::Any},
    {5, "wdone:status=1B", 36, Flash::Any},
    {5, "wdone:delay=1060", 0, Flash::Any},
    {5, "wdone:delay=1070", 33, Flash::Any},
    {5, "wdone:pieces=1/1", 0, Flash::Any},
    // Both security statuses.
    {5, "scmd:drop", 33, Flash::New},
    {5, "scmd:corrupt", 34, Flash::New},
    {5, "scmd:status=10", 34, Flash::New},
    {5, "sdata:drop", 33, Flash::New},
    {5, "sdata:corrupt", 34, Flash::New},
    {5, "sdata:status=15", 34, Flash::New},
    {5, "sdata:delay=4120", 0, Flash::New},
    {5, "sdata:delay=4135", 33, Flash::New},
    {5, "sdata:join", 0, Flash::New},
    {5, "sdone:drop", 33, Flash::New},
    {5, "sdone:corrupt", 34, Flash::New},
    {5, "sdone:status=15", 34, Flash::New},
    {5, "sdone:delay=4130", 0, Flash::New},
    {5, "sdone:delay=4145", 33, Flash::New},
    // Verify command and blocks.
    {5, "vcmd:drop", 33, Flash::New},
    {5, "vcmd:corrupt", 37, Flash::New},
    {5, "vcmd:status=10", 37, Flash::New},
    {5, "vdata:drop", 33, Flash::New},
    {5, "vdata:corrupt", 37, Flash::New},
    {5, "vdata:status=06,0F", 37, Flash::New},
    {5, "vdata:delay=97", 0, Flash::New},
    {5, "vdata:delay=99", 33, Flash::New},
    {5, "vdata:pieces=2/1", 0, Flash::New},
    {5, "vdata#512:drop", 33, Flash::New},
    {5, "vdata#512:status=0F", 37, Flash::New},
    // Step 7: the initialisation, then the identity written back.
    {7, "i124:drop", 13, Flash::New},
    {7, "i124:delay=20000", 0, Flash::New},
    {7, "i127:drop", 0, Flash::New},
    {7, "i127#1+0:drop", 12, Flash::New},
    {7, "i127#3+0:drop", 12, Flash::New},
    {7, "i1#1+0:drop", 12, Flash::New},
    {7, "i2:corrupt", 0, Flash::New},
    {7, "i4#1+0:status=10", 12, Flash::New},
    {7, "i4#1+3:status=51", 0, Flash::New},
    {7, "i1:pieces=2/1", 0, Flash::New},
    {7, "i2:trail=3", 12, Flash::New},  // (1)
    {7, "i4#1+0:delay=95", 0, Flash::New},
    {7, "i4#1+0:delay=115", 12, Flash::New},
    {7, "cts-off", 13, Flash::New},
    {7, "dsr-on", 0, Flash::New},
};

}  // namespace vq::test
