import java.io.File;
import java.io.IOException;
import java.io.PrintWriter;
import java.util.Scanner;

public class maxsub {
    public static void main(String[] args) throws IOException {
        try (Scanner in = new Scanner(new File("maxsub.in"));
             PrintWriter out = new PrintWriter("maxsub.out")) {
            int n = in.nextInt();
            long best = 0, cur = 0;
            for (int i = 0; i < n; ++i) {
                long x = in.nextLong();
                cur = i == 0 || cur < 0 ? x : cur + x;
                best = i == 0 ? cur : Math.max(best, cur);
            }
            out.println(best);
        }
    }
}
