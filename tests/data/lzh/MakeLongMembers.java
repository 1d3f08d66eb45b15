// Writes long-members.lzh: the same pseudo-random word text packed as -lh1-,
// -lh2- and -lh3- by an independent LZH encoder (the jlha library, Debian
// packages jlha-utils and a JDK; not needed to build or test):
//
//   javac -cp /usr/share/java/jlha.jar MakeLongMembers.java
//   java -cp /usr/share/java/jlha.jar:. MakeLongMembers long-members.lzh
//
// The members are long enough for the adaptive methods to halve and rebuild
// their trees: -lh1- and -lh2- after about 32K codes, -lh2-'s distance tree
// after 32K distances.
import java.io.ByteArrayOutputStream;
import java.io.FileOutputStream;
import java.util.Arrays;
import java.util.Date;

import jp.gr.java_conf.dangan.util.lha.CompressMethod;
import jp.gr.java_conf.dangan.util.lha.LhaHeader;
import jp.gr.java_conf.dangan.util.lha.LhaOutputStream;

public class MakeLongMembers {
    static long state = 1;

    static int Next(int bound) {
        state = state * 6364136223846793005L + 1442695040888963407L;
        return (int) ((state >>> 33) % bound);
    }

    // Words of 2 to 8 letters from a vocabulary of 400, mostly space separated.
    static byte[] Words(int size) {
        String[] vocabulary = new String[400];
        for (int i = 0; i < vocabulary.length; i++) {
            StringBuilder word = new StringBuilder();
            for (int length = 2 + Next(7); length > 0; length--) {
                word.append((char) ('a' + Next(26)));
            }
            vocabulary[i] = word.toString();
        }
        ByteArrayOutputStream out = new ByteArrayOutputStream();
        // First random letters with a marker every 40 bytes: the short match
        // on each marker makes every 64-byte window of the first 8 KiB add
        // its own distance symbol (see README.md).
        while (out.size() < 8192 + 64) {
            for (int k = 0; k < 37; k++) {
                out.write('a' + Next(26));
            }
            out.write(new byte[] {'#', '@', '!'}, 0, 3);
        }
        while (out.size() < size) {
            byte[] word = vocabulary[Next(vocabulary.length)].getBytes();
            out.write(word, 0, word.length);
            out.write(Next(16) == 0 ? '\n' : ' ');
        }
        return Arrays.copyOf(out.toByteArray(), size);
    }

    public static void main(String[] args) throws Exception {
        byte[] text = Words(230000);
        String[] methods = {CompressMethod.LH1, CompressMethod.LH2, CompressMethod.LH3};
        int[] sizes = {130000, 230000, 100000};
        LhaOutputStream out = new LhaOutputStream(new FileOutputStream(args[0]));
        for (int i = 0; i < methods.length; i++) {
            LhaHeader header = new LhaHeader("words" + methods[i].charAt(3) + ".txt", new Date(1700000000000L));
            header.setCompressMethod(methods[i]);
            header.setHeaderLevel(2);
            out.putNextEntry(header);
            out.write(text, 0, sizes[i]);
            out.closeEntry();
        }
        out.close();
    }
}
