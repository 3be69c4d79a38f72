// The scrivlet command line.
int main() { return 0; }
