#include <algorithm>
#include <fstream>
int main()
{
    std::ifstream in("maxsub.in");
    std::ofstream out("maxsub.out");
    long long n, x, cur = 0, best = 0;
    in >> n;
    for (long long i = 0; i < n; ++i) {
        in >> x;
        cur = i == 0 ? x : std::max(x, cur + x);
        best = i == 0 ? cur : std::max(best, cur);
    }
    out << best << "\n";
}
