// The floor of any run of the scenario program: a dynamic C++ program that
// loads the C and C++ runtimes alone and prints one line.
#include <iostream>

int main() { std::cout << "no error, no warning\n"; }
