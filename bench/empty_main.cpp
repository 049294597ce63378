// A program that does nothing: what starting it costs is its libraries'.
int main()
{
    return 0;
}
