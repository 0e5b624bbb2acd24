import java.io.File;
import java.io.IOException;
import java.io.PrintWriter;
import java.util.Scanner;

// The class is named after the task.
public class sum {
    public static void main(String[] args) throws IOException {
        try (Scanner in = new Scanner(new File("sum.in"));
             PrintWriter out = new PrintWriter("sum.out")) {
            out.println(in.nextLong() + in.nextLong());
        }
    }
}
