#pragma once
// The support desk's steps besides publishing, each a command of
// QuorvelindePublish.exe:
//
//   stamp <Quorvelinde.exe> <copy.exe> <server> <pin> [<pin> ...]
//   show <Quorvelinde.exe>
//   pin <certificate.cer | certificate.pem | signed.exe>
//
// Each returns the exit code: 0 done, 1 refused, 2 a wrong command line.

#include "host/base/Text.h"

#include <vector>

namespace qv {

int StampCommand(const std::vector<Text>& arguments);
int ShowCommand(const std::vector<Text>& arguments);
int PinCommand(const std::vector<Text>& arguments);

}  // namespace qv
