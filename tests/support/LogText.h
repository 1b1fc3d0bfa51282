#pragma once
// The texts of media log lines, without their stamps and indentation.
#include <string>
#include <vector>

std::vector<std::string> TestiRigheLog(const std::string& log);
